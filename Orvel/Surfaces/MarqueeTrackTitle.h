#pragma once

#include "Scheduler.h"
#include "Typography.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class PresenceAttached;
class SkinnedAttached;

// A track title on one 17-pt line: still when it fits, scrolling right to
// left in a loop with soft edges when it does not (cut with an ellipsis
// where scrolling may not move), sliding up to the next title on a new track.
// Painted, fades included: the software renderer has no masks. Views use
// it through MarqueeTrackTitle.qml, which makes it one accessible text.
class MarqueeTrackTitle : public QQuickPaintedItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(MarqueeTitlePainter)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QVariant trackID READ trackID WRITE setTrackID NOTIFY trackIDChanged)
    // A FontWeight case name; medium by default.
    Q_PROPERTY(QString weight READ weightName WRITE setWeightName NOTIFY weightChanged)
    // Where a fitting title stands: "leading", "center" or "trailing".
    Q_PROPERTY(QString alignment READ alignment WRITE setAlignment NOTIFY alignmentChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(QString displayTitle READ displayTitle NOTIFY titleChanged)
    Q_PROPERTY(bool overflowing READ overflowing NOTIFY frameChanged)
    Q_PROPERTY(bool ticking READ ticking NOTIFY tickingChanged)
    // A preview's fixed seconds into the cycle; negative: the clock's.
    Q_PROPERTY(qreal previewElapsed MEMBER m_previewElapsed NOTIFY frameChanged)

public:
    static constexpr double fontSize = 12;
    static constexpr double lineHeight = 17;
    static constexpr double leadingFade = 6;
    static constexpr double trailingFade = 8;
    static constexpr double tickInterval = 1.0 / 30;
    static constexpr double changeDuration = 0.32;

    // What the title shows at one moment, from its measured width c, the
    // frame's width and the seconds since the cycle began.
    struct Frame {
        bool overflow = false;
        bool still = false; // one line cut with an ellipsis, nothing moves
        double offset = 0; // leftward, in points
        bool secondCopy = false;
        bool leadingFade = false;
        bool trailingFade = false;
        bool ticks = false;
    };
    static Frame frame(double contentWidth, double width, double elapsed, bool scrollAllowed);

    // The title on one line: line breaks become spaces, runs of spaces one.
    static QString displayTitle(const QString &title);
    static QFont font(FontWeight weight);
    // The cleaned title's width in the title font, rounded up to a point.
    static double textWidth(const QString &title, FontWeight weight = FontWeight::medium);

    explicit MarqueeTrackTitle(QQuickItem *parent = nullptr);
    ~MarqueeTrackTitle() override;

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QVariant trackID() const { return m_trackID; }
    void setTrackID(const QVariant &id);
    QString weightName() const;
    void setWeightName(const QString &name);
    QString alignment() const { return m_alignment; }
    void setAlignment(const QString &alignment);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    QString displayTitle() const { return m_display; }
    bool overflowing() const;
    bool ticking() const { return m_clock.isValid() && !m_clock.isCancelled() && !m_clock.isFinished(); }

    // The current frame, on the scheduler's clock.
    Frame currentFrame() const;
    // 0 ... 1 through a track change; 1 when none runs.
    double changeProgress() const;

    void paint(QPainter *painter) override;

signals:
    void titleChanged();
    void trackIDChanged();
    void weightChanged();
    void alignmentChanged();
    void colorChanged();
    void frameChanged();
    void tickingChanged();

protected:
    void componentComplete() override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    friend QCoro::Task<void> runMarqueeClock(Scheduler &, QPointer<MarqueeTrackTitle>, TaskHandle);
    void restart();
    void remeasure();
    void updateClock();
    bool needsClock() const;
    void tick();
    bool scrollAllowed() const;
    bool changeAllowed() const;
    void drawTitle(QPainter &painter, const QString &text, double contentWidth, const Frame &frame, double y,
        double opacity) const;

    QString m_title;
    QString m_display;
    QVariant m_trackID;
    FontWeight m_weight = FontWeight::medium;
    QString m_alignment = QStringLiteral("leading");
    QColor m_color = Qt::white;
    double m_contentWidth = 0;
    double m_startedAt = 0;
    qreal m_previewElapsed = -1;
    // The title leaving during a track change, and its width.
    QString m_shownBeforeChange;
    QString m_leaving;
    double m_leavingWidth = 0;
    bool m_changing = false;
    QPointer<SkinnedAttached> m_environment;
    QPointer<PresenceAttached> m_presence;
    TaskHandle m_clock;
};
