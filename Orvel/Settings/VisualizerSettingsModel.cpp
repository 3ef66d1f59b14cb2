#include "VisualizerSettingsModel.h"

#include "Date.h"
#include "Localization.h"
#include "VisualizerDrawing.h"

#include <QJSValue>
#include <cmath>
#include <limits>

QCoro::Task<void> runPreviewClock(
    Scheduler &scheduler, QPointer<VisualizerSettingsModel> model, TaskHandle self)
{
    while (model && !self.isCancelled()) {
        model->tick();
        const bool slept = co_await scheduler.sleep(VisualizerSettingsModel::previewInterval, self);
        if (!slept)
            break;
    }
}

VisualizerSettingsModel::VisualizerSettingsModel(QObject *parent)
    : QObject(parent)
    , m_previewTime(Date::now().secondsSinceReferenceDate)
{
    updateClock();
}

VisualizerSettingsModel::~VisualizerSettingsModel()
{
    m_clock.cancel();
}

int VisualizerSettingsModel::wholePercent(double value, double fallback)
{
    const double shown = std::isfinite(value) ? value : fallback;
    // Truncated as a double first: converting a huge value to int is undefined.
    return int(std::clamp(std::trunc(shown * 100), double(std::numeric_limits<int>::min()),
        double(std::numeric_limits<int>::max())));
}

QString VisualizerSettingsModel::percentText(double value, double fallback)
{
    return QString::number(wholePercent(value, fallback)) + QLatin1Char('%');
}

QString VisualizerSettingsModel::factorText(double value, double fallback)
{
    const double shown = std::isfinite(value) ? value : fallback;
    return QString::asprintf("%.1f", shown) + QChar(0x00D7);
}

std::optional<QString> VisualizerSettingsModel::hexOf(double red, double green, double blue)
{
    if (std::isnan(red) || std::isnan(green) || std::isnan(blue))
        return std::nullopt;
    // Extended-range components would print more than two digits and the stored text would be refused.
    const auto byte = [](double component) { return int(std::clamp(component, 0.0, 1.0) * 255); };
    return QString::asprintf("%02X%02X%02X", byte(red), byte(green), byte(blue));
}

std::optional<QString> VisualizerSettingsModel::hexOf(const QColor &color)
{
    if (!color.isValid())
        return std::nullopt;
    const QColor rgb = color.spec() == QColor::ExtendedRgb ? color : color.toRgb();
    return hexOf(rgb.redF(), rgb.greenF(), rgb.blueF());
}

QString VisualizerSettingsModel::title(const QString &rawValue)
{
    return localized(rawValue.left(1).toUpper() + rawValue.mid(1));
}

QList<QColor> VisualizerSettingsModel::chipColors(
    const VisualizerSettings &settings, VisualizerPalette palette, const Aura &aura)
{
    if (palette == VisualizerPalette::artwork)
        return {aura.primaryColor(), aura.secondaryColor()};
    VisualizerSettings swapped = settings;
    swapped.palette = palette;
    QList<QColor> colors;
    for (const SRGBColor &color : visualizerColors(swapped))
        colors << color.toQColor();
    return colors;
}

template<class T>
void VisualizerSettingsModel::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
    updateClock();
}

QVariantMap VisualizerSettingsModel::toVariant(const VisualizerSettings &settings)
{
    // By hand: the JSON form refuses the non-finite numbers the page must still show.
    return {{QStringLiteral("enabled"), settings.enabled},
        {QStringLiteral("style"), toRawValue(settings.style)},
        {QStringLiteral("palette"), toRawValue(settings.palette)},
        {QStringLiteral("customHex"), settings.customHex}, {QStringLiteral("intensity"), settings.intensity},
        {QStringLiteral("speed"), settings.speed}, {QStringLiteral("glow"), settings.glow}};
}

VisualizerSettings VisualizerSettingsModel::fromVariant(const QVariant &value)
{
    const QVariant plain
        = value.metaType() == QMetaType::fromType<QJSValue>() ? value.value<QJSValue>().toVariant() : value;
    const QVariantMap map = plain.toMap();
    // Field by field: one unreadable field leaves the others as stored.
    VisualizerSettings settings;
    const auto number = [&map](const char *key) -> std::optional<double> {
        const QVariant found = map.value(QLatin1String(key));
        switch (found.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
            return found.toDouble();
        default:
            return std::nullopt;
        }
    };
    if (const QVariant v = map.value(QStringLiteral("enabled")); v.typeId() == QMetaType::Bool)
        settings.enabled = v.toBool();
    if (const auto style = fromRawValue<VisualizerStyle>(map.value(QStringLiteral("style")).toString()))
        settings.style = *style;
    if (const auto palette = fromRawValue<VisualizerPalette>(map.value(QStringLiteral("palette")).toString()))
        settings.palette = *palette;
    if (const QVariant v = map.value(QStringLiteral("customHex")); v.typeId() == QMetaType::QString)
        settings.customHex = v.toString();
    settings.intensity = number("intensity").value_or(settings.intensity);
    settings.speed = number("speed").value_or(settings.speed);
    if (const QVariant v = map.value(QStringLiteral("glow")); v.typeId() == QMetaType::Bool)
        settings.glow = v.toBool();
    return settings;
}

bool VisualizerSettingsModel::same(const VisualizerSettings &a, const VisualizerSettings &b)
{
    // A stored non-finite number never equals itself; compare it by its bits.
    const auto equal = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
    return a.enabled == b.enabled && a.style == b.style && a.palette == b.palette
        && a.customHex == b.customHex && equal(a.intensity, b.intensity) && equal(a.speed, b.speed)
        && a.glow == b.glow;
}

void VisualizerSettingsModel::setSettings(const VisualizerSettings &settings)
{
    if (same(m_settings, settings))
        return;
    m_settings = settings;
    emit changed();
    updateClock();
}

QVariant VisualizerSettingsModel::settingsJson() const
{
    return toVariant(m_settings);
}

void VisualizerSettingsModel::setSettingsJson(const QVariant &json)
{
    setSettings(fromVariant(json));
}

void VisualizerSettingsModel::setLightEffects(bool light)
{
    assign(m_lightEffects, light);
}

void VisualizerSettingsModel::setReduceMotion(bool reduce)
{
    assign(m_reduceMotion, reduce);
}

void VisualizerSettingsModel::setAura(const Aura &aura)
{
    assign(m_aura, aura);
}

void VisualizerSettingsModel::setPreviewPlaying(bool playing)
{
    assign(m_previewPlaying, playing);
}

void VisualizerSettingsModel::setOnScreen(bool onScreen)
{
    if (onScreen == m_onScreen)
        return;
    if (onScreen)
        tick();
    assign(m_onScreen, onScreen);
}

bool VisualizerSettingsModel::previewPaused() const
{
    return !m_previewPlaying || m_reduceMotion || m_lightEffects || !m_settings.enabled;
}

bool VisualizerSettingsModel::clockRunning() const
{
    return m_clock.isValid() && !m_clock.isCancelled() && !m_clock.isFinished();
}

QString VisualizerSettingsModel::previewButtonTitle() const
{
    return localized(m_previewPlaying ? QStringLiteral("Pause preview") : QStringLiteral("Play preview"));
}

QString VisualizerSettingsModel::previewButtonSymbol() const
{
    return m_previewPlaying ? QStringLiteral("pause.fill") : QStringLiteral("play.fill");
}

QString VisualizerSettingsModel::intensityText() const
{
    return percentText(m_settings.intensity, VisualizerSettings::defaultIntensity);
}

QString VisualizerSettingsModel::speedText() const
{
    return factorText(m_settings.speed, VisualizerSettings::defaultSpeed);
}

QColor VisualizerSettingsModel::customColor() const
{
    return colorFromHex(m_settings.safeHex()).toQColor();
}

QVariantList VisualizerSettingsModel::styleChips() const
{
    QVariantList chips;
    for (const auto &[style, raw] : RawEnumCases<VisualizerStyle>::cases) {
        VisualizerSettings thumbnail = m_settings;
        thumbnail.style = style;
        const QString name = QString::fromLatin1(raw.data(), qsizetype(raw.size()));
        chips << QVariantMap{{QStringLiteral("style"), name}, {QStringLiteral("title"), title(name)},
            {QStringLiteral("selected"), m_settings.style == style},
            {QStringLiteral("settings"), toVariant(thumbnail)}};
    }
    return chips;
}

QVariantList VisualizerSettingsModel::paletteChips() const
{
    QVariantList chips;
    for (const auto &[palette, raw] : RawEnumCases<VisualizerPalette>::cases) {
        const QString name = QString::fromLatin1(raw.data(), qsizetype(raw.size()));
        QVariantList colors;
        for (const QColor &color : chipColors(m_settings, palette, m_aura))
            colors << color;
        chips << QVariantMap{{QStringLiteral("palette"), name}, {QStringLiteral("title"), title(name)},
            {QStringLiteral("selected"), m_settings.palette == palette}, {QStringLiteral("colors"), colors}};
    }
    return chips;
}

QString VisualizerSettingsModel::customHexFor(const QColor &color) const
{
    return hexOf(color).value_or(QString());
}

void VisualizerSettingsModel::tick()
{
    const double now = Date::now().secondsSinceReferenceDate;
    if (now == m_previewTime)
        return;
    m_previewTime = now;
    emit previewTimeChanged();
}

void VisualizerSettingsModel::updateClock()
{
    // One clock while the preview moves, none while it is paused.
    const bool wanted = !previewPaused() && m_onScreen;
    if (wanted && clockRunning())
        return;
    m_clock.cancel();
    m_clock = {};
    if (!wanted)
        return;
    Scheduler &scheduler = Scheduler::current();
    m_clock = scheduler.spawn([&scheduler, model = QPointer<VisualizerSettingsModel>(this)](
                                  TaskHandle self) { return runPreviewClock(scheduler, model, self); });
}
