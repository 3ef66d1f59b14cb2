#include "MarqueeTrackTitle.h"

#include "KitAnimation.h"
#include "Motion.h"
#include "Presence.h"
#include "SkinEnvironment.h"

#include <QEasingCurve>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>
#include <array>
#include <cmath>

namespace {
constexpr std::array<std::pair<FontWeight, const char *>, 9> weightNames{{
    {FontWeight::ultraLight, "ultraLight"},
    {FontWeight::thin, "thin"},
    {FontWeight::light, "light"},
    {FontWeight::regular, "regular"},
    {FontWeight::medium, "medium"},
    {FontWeight::semibold, "semibold"},
    {FontWeight::bold, "bold"},
    {FontWeight::heavy, "heavy"},
    {FontWeight::black, "black"},
}};
} // namespace

QCoro::Task<void> runMarqueeClock(Scheduler &scheduler, QPointer<MarqueeTrackTitle> title, TaskHandle self)
{
    while (true) {
        const bool slept = co_await scheduler.sleep(MarqueeTrackTitle::tickInterval, self);
        if (!slept || !title)
            co_return;
        title->tick();
        if (!title || self.isCancelled())
            co_return;
    }
}

MarqueeTrackTitle::Frame MarqueeTrackTitle::frame(
    double contentWidth, double width, double elapsed, bool scrollAllowed)
{
    Frame result;
    result.overflow = contentWidth > width + MarqueeMotion::overflowTolerance;
    if (result.overflow && !scrollAllowed) {
        result.still = true;
        return result;
    }
    result.offset = MarqueeMotion::offset(contentWidth, width, elapsed, !scrollAllowed);
    result.secondCopy = result.overflow;
    result.leadingFade = result.overflow && result.offset > 1;
    result.trailingFade = result.overflow;
    result.ticks = result.overflow;
    return result;
}

QString MarqueeTrackTitle::displayTitle(const QString &title)
{
    static const QRegularExpression newlines(
        QStringLiteral("[\\x{000A}\\x{000B}\\x{000C}\\x{000D}\\x{0085}\\x{2028}\\x{2029}]"));
    QString joined = title;
    joined.replace(newlines, QStringLiteral(" "));
    return joined.split(QLatin1Char(' '), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

QFont MarqueeTrackTitle::font(FontWeight weight)
{
    return FontDescription{fontSize, weight}.toQFont();
}

double MarqueeTrackTitle::textWidth(const QString &title, FontWeight weight)
{
    return std::ceil(QFontMetricsF(font(weight)).horizontalAdvance(displayTitle(title)));
}

MarqueeTrackTitle::MarqueeTrackTitle(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setImplicitHeight(lineHeight);
    setHeight(lineHeight);
    setAntialiasing(true);
    m_startedAt = Scheduler::current().now();
    m_presence = Presence::of(this);
    // Coming on screen starts the cycle again; off screen nothing ticks.
    connect(m_presence, &PresenceAttached::onScreenChanged, this, [this] {
        if (m_presence->onScreen()) {
            // A change that happened out of sight is over.
            m_changing = false;
            m_leaving.clear();
            m_startedAt = Scheduler::current().now();
        }
        updateClock();
        update();
    });
    m_environment = Skinned::of(this);
    if (m_environment)
        connect(m_environment, &SkinnedAttached::changed, this, [this] {
            updateClock();
            update();
        });
}

MarqueeTrackTitle::~MarqueeTrackTitle()
{
    m_clock.cancel();
}

QString MarqueeTrackTitle::weightName() const
{
    for (const auto &[weight, name] : weightNames)
        if (weight == m_weight)
            return QString::fromLatin1(name);
    return QStringLiteral("medium");
}

void MarqueeTrackTitle::setWeightName(const QString &name)
{
    for (const auto &[weight, raw] : weightNames) {
        if (name == QLatin1String(raw) && weight != m_weight) {
            m_weight = weight;
            remeasure();
            emit weightChanged();
        }
    }
}

void MarqueeTrackTitle::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    m_display = displayTitle(title);
    remeasure();
    emit titleChanged();
}

void MarqueeTrackTitle::setTrackID(const QVariant &id)
{
    if (id == m_trackID)
        return;
    const bool first = !m_trackID.isValid();
    m_trackID = id;
    // The title that leaves is the one shown until now; the new text may
    // arrive just before or after the id, so it is taken when painting starts.
    if (!first && isComponentComplete() && changeAllowed()) {
        m_leaving = m_shownBeforeChange;
        m_leavingWidth = textWidth(m_leaving, m_weight);
        m_changing = true;
    }
    restart();
    emit trackIDChanged();
}

void MarqueeTrackTitle::setAlignment(const QString &alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
    emit alignmentChanged();
}

void MarqueeTrackTitle::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
    emit colorChanged();
}

bool MarqueeTrackTitle::overflowing() const
{
    return m_contentWidth > width() + MarqueeMotion::overflowTolerance;
}

bool MarqueeTrackTitle::scrollAllowed() const
{
    return m_environment && m_environment->environment()->motion().allows(AnimationFeature::titleScroll);
}

bool MarqueeTrackTitle::changeAllowed() const
{
    return m_environment && m_environment->environment()->motion().allows(AnimationFeature::trackChange);
}

MarqueeTrackTitle::Frame MarqueeTrackTitle::currentFrame() const
{
    const double elapsed
        = m_previewElapsed >= 0 ? m_previewElapsed : Scheduler::current().now() - m_startedAt;
    return frame(m_contentWidth, width(), elapsed, scrollAllowed());
}

double MarqueeTrackTitle::changeProgress() const
{
    if (!m_changing)
        return 1;
    const double t = (Scheduler::current().now() - m_startedAt) / changeDuration;
    return t >= 1 ? 1 : KitAnimation::easeInOut(changeDuration).easing.valueForProgress(std::max(t, 0.0));
}

void MarqueeTrackTitle::restart()
{
    m_startedAt = Scheduler::current().now();
    updateClock();
    update();
}

void MarqueeTrackTitle::remeasure()
{
    const bool was = overflowing();
    m_contentWidth = textWidth(m_display, m_weight);
    if (was != overflowing())
        emit frameChanged();
    updateClock();
    update();
}

bool MarqueeTrackTitle::needsClock() const
{
    return isComponentComplete() && m_presence && m_presence->onScreen()
        && (currentFrame().ticks || m_changing);
}

void MarqueeTrackTitle::updateClock()
{
    const bool wanted = needsClock();
    if (wanted == ticking())
        return;
    if (wanted) {
        Scheduler &scheduler = Scheduler::current();
        m_clock = scheduler.spawn([&scheduler, title = QPointer<MarqueeTrackTitle>(this)](
                                      TaskHandle self) { return runMarqueeClock(scheduler, title, self); });
    } else {
        m_clock.cancel();
        m_clock = {};
    }
    emit tickingChanged();
}

void MarqueeTrackTitle::tick()
{
    if (m_changing && changeProgress() >= 1) {
        m_changing = false;
        m_leaving.clear();
        m_shownBeforeChange = m_display;
    }
    update();
    updateClock();
}

void MarqueeTrackTitle::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    m_shownBeforeChange = m_display;
    restart();
}

void MarqueeTrackTitle::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.width() != oldGeometry.width()) {
        emit frameChanged();
        updateClock();
    }
}

void MarqueeTrackTitle::drawTitle(QPainter &painter, const QString &text, double contentWidth,
    const Frame &frame, double y, double opacity) const
{
    const QFont titleFont = font(m_weight);
    const QFontMetricsF metrics(titleFont);
    painter.setFont(titleFont);
    QColor color = m_color;
    color.setAlphaF(color.alphaF() * opacity);
    painter.setPen(color);
    const double baseline = y + (lineHeight - metrics.height()) / 2 + metrics.ascent();
    const double w = width();
    const Frame own = MarqueeTrackTitle::frame(contentWidth, w, 0, !frame.still);

    if (own.still || frame.still) {
        painter.drawText(QPointF(0, baseline), metrics.elidedText(text, Qt::ElideRight, w));
        return;
    }
    double x = 0;
    if (!own.overflow) {
        if (m_alignment == QLatin1String("center"))
            x = (w - contentWidth) / 2;
        else if (m_alignment == QLatin1String("trailing"))
            x = w - contentWidth;
        painter.drawText(QPointF(x, baseline), text);
        return;
    }
    x = -frame.offset;
    painter.drawText(QPointF(x, baseline), text);
    painter.drawText(QPointF(x + contentWidth + MarqueeMotion::gap, baseline), text);
}

void MarqueeTrackTitle::paint(QPainter *painter)
{
    const double w = width();
    if (w <= 0)
        return;
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1;
    QImage layer(
        QSize(std::ceil(w * ratio), std::ceil(lineHeight * ratio)), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::TextAntialiasing);

    const Frame current = currentFrame();
    const double progress = changeProgress();
    if (!m_changing)
        m_shownBeforeChange = m_display;
    if (m_changing && progress < 1) {
        const Frame leaving = frame(m_leavingWidth, w, 0, scrollAllowed());
        drawTitle(p, m_leaving, m_leavingWidth, leaving, -lineHeight * progress, 1 - progress);
        drawTitle(p, m_display, m_contentWidth, current, lineHeight * (1 - progress), progress);
    } else {
        drawTitle(p, m_display, m_contentWidth, current, 0, 1);
    }

    // Soft edges: keep the text under a gradient of opacity.
    if (current.leadingFade || current.trailingFade) {
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        if (current.leadingFade) {
            QLinearGradient fade(0, 0, leadingFade, 0);
            fade.setColorAt(0, Qt::transparent);
            fade.setColorAt(1, Qt::white);
            p.fillRect(QRectF(0, 0, leadingFade, lineHeight), fade);
        }
        if (current.trailingFade) {
            QLinearGradient fade(w - trailingFade, 0, w, 0);
            fade.setColorAt(0, Qt::white);
            fade.setColorAt(1, Qt::transparent);
            p.fillRect(QRectF(w - trailingFade, 0, trailingFade, lineHeight), fade);
        }
    }
    p.end();
    painter->drawImage(QRectF(0, 0, w, lineHeight), layer);
}
