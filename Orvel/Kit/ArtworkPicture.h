#pragma once

#include "Motion.h"
#include "SkinEnvironment.h"

#include <QEasingCurve>
#include <QImage>
#include <QQuickPaintedItem>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// What ArtworkView draws: the cover fitted into the frame and clipped to its
// rounded corners, or the drawn placeholder, cross-faded whenever the cover's
// key changes. The fade's progress is animated by the view from the curve
// given here; the painting and the rules stay in C++ (no masks in software).
// Decorative: no pointer hits, hidden from accessibility.
class ArtworkPicture : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    // The cover: image://, qrc: or file: URLs; empty for none. A cover that
    // does not load counts as none.
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
    // The cover's identity (text), or null.
    Q_PROPERTY(QVariant identity READ identityValue WRITE setIdentityValue NOTIFY keyChanged)
    Q_PROPERTY(bool thumbnail READ thumbnail WRITE setThumbnail NOTIFY thumbnailChanged)
    Q_PROPERTY(QString key READ key NOTIFY keyChanged)
    Q_PROPERTY(bool hasImage READ hasImage NOTIFY keyChanged)
    Q_PROPERTY(qreal cornerRadius READ cornerRadius NOTIFY radiusChanged)
    // The cross-fade of the environment's track-change level; duration 0 for none.
    Q_PROPERTY(int fadeMilliseconds READ fadeMilliseconds NOTIFY fadeChanged)
    Q_PROPERTY(QEasingCurve fadeCurve READ fadeCurve NOTIFY fadeChanged)
    // How far the new content has come in: the old is drawn at 1 - progress.
    Q_PROPERTY(qreal progress READ progress WRITE setProgress NOTIFY progressChanged)
    Q_PROPERTY(bool fading READ fading NOTIFY progressChanged)

public:
    static constexpr qreal defaultRadius = 8;
    static constexpr qreal maximumRadius = 8;
    static constexpr qreal borderWidth = 0.5;
    static constexpr qreal placeholderScale = 0.86;
    static constexpr qreal thumbnailMarkScale = 0.7;
    static inline const QString placeholderKey = QStringLiteral("placeholder");
    static inline const QString anonymousKey = QStringLiteral("artwork");

    struct Fade {
        double seconds;
        QEasingCurve curve;
    };

    // "placeholder" without an image; otherwise the identity, or "artwork" without one.
    static QString key(bool hasImage, const std::optional<QString> &identity);
    // Requested radii above 8 are drawn as 8.
    static qreal cornerRadius(qreal requested);
    // Ease-in-out 0.35 s, linear 0.12 s when reduced, nothing when still.
    static std::optional<Fade> fade(MotionLevel level);
    // Where a cover of that size lies in the frame: fitted, centred.
    static QRectF coverRect(const QRectF &frame, const QSizeF &imageSize);
    // The placeholder is a square fitted into the frame, centred.
    static QRectF placeholderSquare(const QRectF &frame);
    // The mark of a thumbnail placeholder: 0.7 of the shorter side of the frame.
    static qreal thumbnailMarkSize(const QSizeF &frame);

    // One content at full opacity: the cover when `image` is not null, else the placeholder.
    static void draw(QPainter &painter, const QRectF &frame, const QImage &image, qreal radius,
        bool thumbnail, const SkinPalette &palette);
    static QImage render(
        QSize size, const QImage &image, qreal radius, bool thumbnail, const SkinPalette &palette);

    explicit ArtworkPicture(QQuickItem *parent = nullptr);

    QUrl source() const { return m_source; }
    void setSource(const QUrl &source);
    // The cover itself, for C++ callers; a null image is none.
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    const std::optional<QString> &identity() const { return m_identity; }
    void setIdentity(const std::optional<QString> &identity);
    QVariant identityValue() const;
    void setIdentityValue(const QVariant &identity);
    bool thumbnail() const { return m_thumbnail; }
    void setThumbnail(bool thumbnail);

    bool hasImage() const { return !m_image.isNull(); }
    QString key() const { return key(hasImage(), m_identity); }
    qreal cornerRadius() const { return cornerRadius(m_radius); }
    int fadeMilliseconds() const;
    QEasingCurve fadeCurve() const;
    qreal progress() const { return m_progress; }
    void setProgress(qreal progress);
    bool fading() const { return m_outgoing.has_value(); }

    void classBegin() override;
    void componentComplete() override;
    void paint(QPainter *painter) override;

signals:
    void sourceChanged();
    void radiusChanged();
    void thumbnailChanged();
    void keyChanged();
    void fadeChanged();
    void progressChanged();
    // A cross-fade begins: animate progress from 0 to 1 with the fade's curve.
    void fadeStarted();

private:
    SkinnedAttached *environment() const;
    std::optional<Fade> currentFade() const;
    void loadSource();
    // Replaces the content, fading when its key changed.
    void change(const QImage &image, const std::optional<QString> &identity);
    // The cover scaled once to the pixels it covers, not again on every frame of a fade.
    QImage deviceCover(const QImage &image, const QPainter &painter, const QRectF &frame) const;

    QUrl m_source;
    QImage m_image;
    qreal m_radius = defaultRadius;
    std::optional<QString> m_identity;
    bool m_thumbnail = false;
    qreal m_progress = 1;
    // False while QML assigns the first values, which show without a fade.
    bool m_settled = true;
    // The content fading out: its image, null for the placeholder.
    std::optional<QImage> m_outgoing;
    mutable EnvironmentLink m_environment;
    struct ScaledCover {
        qint64 source = 0;
        QImage image;
    };
    // The two covers of a cross-fade.
    mutable ScaledCover m_scaled[2];
    mutable int m_nextScaled = 0;
};
