#pragma once

#include "MusicEntry.h"
#include "SharedStore.h"
#include "SkinPalette.h"
#include "Typography.h"
#include "WidgetKit.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// What the Now playing view shows for an entry, family and rendering mode:
// player or prompt, header status and badge, texts, elapsed time, fonts and
// colours by skin and mode, the transport faces and the artwork.
class NowPlayingWidgetModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariant entry READ entryValue WRITE setEntryValue NOTIFY changed)
    Q_PROPERTY(QString family READ familyName WRITE setFamilyName NOTIFY changed)
    Q_PROPERTY(QString renderingMode READ renderingModeName WRITE setRenderingModeName NOTIFY changed)

    // "prompt", "small" or "medium".
    Q_PROPERTY(QString layout READ layoutName NOTIFY changed)
    Q_PROPERTY(QString skin READ skinName NOTIFY changed)
    Q_PROPERTY(Aura aura READ aura NOTIFY changed)
    Q_PROPERTY(SkinPalette palette READ palette NOTIFY changed)
    Q_PROPERTY(double backdropIntensity READ backdropIntensityValue NOTIFY changed)
    Q_PROPERTY(QUrl playerURL READ playerURL CONSTANT)
    Q_PROPERTY(bool fullColor READ fullColor NOTIFY changed)
    Q_PROPERTY(bool active READ active NOTIFY changed)

    // "badge", "unavailable" (the wifi.slash symbol) or "none".
    Q_PROPERTY(QString status READ statusName NOTIFY changed)
    Q_PROPERTY(QString badgeIdentity READ badgeIdentityValue NOTIFY changed)
    // The badge's accessibility value: how long ago the app wrote the snapshot.
    Q_PROPERTY(QString badgeUpdated READ badgeUpdatedValue NOTIFY changed)
    Q_PROPERTY(double position READ position NOTIFY changed)
    Q_PROPERTY(QVariant visualizer READ visualizer NOTIFY changed)
    // Empty: the logo is the bare image.
    Q_PROPERTY(QUrl spotifyLink READ spotifyLinkValue NOTIFY changed)

    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString artist READ artist NOTIFY changed)
    Q_PROPERTY(QFont titleFont READ titleFontValue NOTIFY changed)
    // "live", "still" (the stored position) or "none".
    Q_PROPERTY(QString progress READ progressName NOTIFY changed)
    Q_PROPERTY(double timerStart READ timerStart NOTIFY changed)
    Q_PROPERTY(double timerEnd READ timerEnd NOTIFY changed)
    Q_PROPERTY(QString staticTime READ staticTime NOTIFY changed)
    Q_PROPERTY(QFont progressFont READ progressFontValue NOTIFY changed)
    Q_PROPERTY(QColor progressColor READ progressColor NOTIFY changed)

    Q_PROPERTY(QString toggleGlyph READ toggleGlyph NOTIFY changed)
    Q_PROPERTY(QString toggleLabel READ toggleLabel NOTIFY changed)
    Q_PROPERTY(QColor primaryFill READ primaryFill NOTIFY changed)
    Q_PROPERTY(bool showsCommandError READ showsCommandError NOTIFY changed)
    Q_PROPERTY(QString promptMessage READ promptMessageValue NOTIFY changed)

    // Null: the placeholder is drawn.
    Q_PROPERTY(QImage artwork READ artwork NOTIFY changed)
    Q_PROPERTY(double artworkOpacity READ artworkOpacity NOTIFY changed)
    Q_PROPERTY(double artworkRadius READ artworkRadius NOTIFY changed)
    Q_PROPERTY(double artworkSize READ artworkSize NOTIFY changed)

public:
    enum class Layout { prompt, small, medium };
    enum class Status { none, unavailable, badge };

    struct Progress {
        enum class Form { none, live, still };
        Form form = Form::none;
        Date start; // live only
        Date end;
        QString text; // still only
    };

    static constexpr double activeBackdrop = 0.3;
    static constexpr double idleBackdrop = 0.14;
    static constexpr double smallArtwork = 48;
    static constexpr double mediumArtwork = 92;
    static constexpr double smallProgressBase = 11;
    static constexpr double mediumProgressBase = 13;
    static constexpr double tintedArtworkOpacity = 0.78;
    // Covers are read at twice the tile's size, sharp on scaled screens.
    static constexpr int artworkReadScale = 2;

    explicit NowPlayingWidgetModel(QObject *parent = nullptr);

    // A last known track is shown while Spotify cannot be reached.
    static bool showsPlayer(const PlaybackSnapshot &snapshot);
    static Layout layout(const PlaybackSnapshot &snapshot, WidgetFamily family);
    static Status status(const MusicEntry &entry);
    // Track id, "-", active, "-", the position's whole seconds.
    static QString badgeIdentity(const PlaybackSnapshot &snapshot);
    // "5 seconds ago", "2 minutes ago", …, read at `now`; a time after `now` is "now".
    static QString relativeTime(Date written, Date now);
    // Toward zero; not a number gives 0, beyond the 64-bit range the nearest end.
    static qint64 wholeSeconds(double seconds);
    static Progress progress(const PlaybackSnapshot &snapshot);
    static FontDescription progressFont(Skin skin, double baseSize);
    static bool progressUsesAccent(Skin skin, WidgetRenderingMode mode, bool active);
    static FontDescription titleFont(Skin skin, Layout layout);
    static QString promptMessage(PlayerAvailability availability);
    static double backdropIntensity(const PlaybackSnapshot &snapshot);
    // The track's web link, only when it is an https link on Spotify's web
    // player: the file is written by the app, but anyone may write it.
    static std::optional<QUrl> spotifyLink(const std::optional<Track> &track);
    // The cover the snapshot names, read scaled to `pixels`, as the mode shows
    // it: as it is, desaturated (accented) or its luminance as alpha (vibrant).
    static QImage artwork(
        const SharedStore &store, const std::optional<QString> &file, int pixels, WidgetRenderingMode mode);
    // White, with each pixel's luminance (times its alpha) as its alpha.
    static QImage luminanceToAlpha(const QImage &image);
    static QImage desaturated(const QImage &image);

    QVariant entryValue() const { return QVariant::fromValue(m_entry); }
    void setEntryValue(const QVariant &value);
    const MusicEntry &entry() const { return m_entry; }
    void setEntry(const MusicEntry &entry);
    QString familyName() const { return toRawValue(m_family); }
    void setFamilyName(const QString &name);
    QString renderingModeName() const { return toRawValue(m_mode); }
    void setRenderingModeName(const QString &name);

    QString layoutName() const;
    QString skinName() const { return toRawValue(m_entry.skin); }
    Aura aura() const { return m_aura; }
    SkinPalette palette() const { return m_palette; }
    double backdropIntensityValue() const { return backdropIntensity(m_entry.snapshot); }
    QUrl playerURL() const;
    bool fullColor() const { return m_mode == WidgetRenderingMode::fullColor; }
    bool active() const { return m_entry.snapshot.showsActivePlayback(); }
    QString statusName() const;
    QString badgeIdentityValue() const { return badgeIdentity(m_entry.snapshot); }
    QString badgeUpdatedValue() const { return relativeTime(m_entry.snapshot.updatedAt, Date::now()); }
    double position() const { return m_entry.snapshot.position; }
    QVariant visualizer() const;
    QUrl spotifyLinkValue() const { return spotifyLink(m_entry.snapshot.track).value_or(QUrl()); }
    QString title() const;
    QString artist() const;
    QFont titleFontValue() const;
    QString progressName() const;
    double timerStart() const { return m_progress.start.secondsSinceReferenceDate; }
    double timerEnd() const { return m_progress.end.secondsSinceReferenceDate; }
    QString staticTime() const { return m_progress.text; }
    QFont progressFontValue() const;
    QColor progressColor() const;
    QString toggleGlyph() const { return active() ? QStringLiteral("pause") : QStringLiteral("play"); }
    QString toggleLabel() const;
    QColor primaryFill() const;
    bool showsCommandError() const { return m_entry.snapshot.commandError.has_value(); }
    QString promptMessageValue() const { return promptMessage(m_entry.snapshot.availability); }
    QImage artwork() const { return m_artwork; }
    double artworkOpacity() const { return fullColor() ? 1.0 : tintedArtworkOpacity; }
    double artworkRadius() const { return m_entry.skin == Skin::rivista ? 3 : 4; }
    double artworkSize() const;

signals:
    void changed();

private:
    void recompute();

    MusicEntry m_entry;
    WidgetFamily m_family = WidgetFamily::systemSmall;
    WidgetRenderingMode m_mode = WidgetRenderingMode::fullColor;
    Aura m_aura;
    SkinPalette m_palette;
    Progress m_progress;
    QImage m_artwork;
};
