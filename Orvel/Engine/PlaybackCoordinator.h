#pragma once

#include "ArtworkPalette.h"
#include "Date.h"
#include "MusicShortcut.h"
#include "Playback.h"
#include "PlaybackCommand.h"
#include "Scheduler.h"
#include "SharedStore.h"
#include "SkinPalette.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <exception>
#include <memory>
#include <optional>
#include <qcoro/qcorotask.h>

class Defaults;
class Preferences;
class QNetworkAccessManager;
class QNetworkReply;
class WidgetCenter;
class Workspace;

Q_DECLARE_METATYPE(PlaybackSnapshot)

// What waiting for Spotify before a cast found.
enum class SpotifyReadiness { ready, needsPermission, permissionDenied, timedOut };

// The app's playback engine: what the app knows about Spotify, kept current by
// polling for the life of the process, and the one road of every command.
// Lives on the main thread; exclusion is by flags, never by locks.
class PlaybackCoordinator : public QObject {
    Q_OBJECT
    Q_PROPERTY(PlaybackSnapshot snapshot READ snapshot NOTIFY snapshotChanged)
    Q_PROPERTY(QImage artwork READ artwork NOTIFY artworkChanged)
    Q_PROPERTY(QString artworkID READ artworkIDText NOTIFY artworkIDChanged)
    Q_PROPERTY(bool hasArtworkPalette READ hasArtworkPalette NOTIFY artworkPaletteChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString errorKey READ errorKeyText NOTIFY errorKeyChanged)
    Q_PROPERTY(bool storageError READ storageError NOTIFY storageErrorChanged)
    Q_PROPERTY(bool isPreview READ isPreview CONSTANT)
    Q_PROPERTY(bool labelsPreview READ labelsPreview CONSTANT)

public:
    static constexpr QLatin1String disconnectedKey{"spotifyDisconnected"};
    static constexpr QLatin1String nowPlayingWidgetKind{"OrvelNowPlaying"};
    static inline const QUrl spotifyDownloadURL{QStringLiteral("https://www.spotify.com/download/linux/")};

    static inline const QString timeoutText = QStringLiteral("Spotify is taking too long to respond.");
    static inline const QString controlFailedText = QStringLiteral("Spotify could not apply this control.");
    static inline const QString openFailedText = QStringLiteral("Spotify could not be opened.");

    // Polling pace, seconds.
    static constexpr double asleepPace = 30;
    static constexpr double panelPace = 1;
    static constexpr double playingPace = 5;
    static constexpr double idlePace = 15;

    static constexpr double widgetReloadDelay = 2;
    static constexpr double commandRereadPause = 0.4;
    static constexpr double linkRereadPause = 0.5;
    static constexpr double launchSettlePause = 0.6;
    static constexpr qint32 consentRequiredStatus = -1744;

    static constexpr double artworkRetryPause = 30;
    static constexpr double artworkGracePause = 1.2;
    static constexpr int artworkRequestTimeoutMs = 8000;
    static constexpr qint64 artworkBodyLimit = 5'000'000; // this many bytes or more are refused
    static constexpr int artworkThumbnailPixels = 48;
    static constexpr int artworkJpegQuality = 85;
    static constexpr int artworkDecodeLimitMB = 128;

    // Everything the coordinator reaches outside itself, so tests can stand in for it.
    struct Services {
        std::shared_ptr<SpotifyControlling> bridge;
        Workspace *workspace = nullptr;
        SharedStore store;
        Defaults *defaults = nullptr;
        Scheduler *scheduler = nullptr;
        WidgetCenter *widgetCenter = nullptr;
        // The session for artwork and title look-ups; made ephemeral when absent.
        QNetworkAccessManager *network = nullptr;
    };

    explicit PlaybackCoordinator(Services services, QObject *parent = nullptr);
    ~PlaybackCoordinator() override;

    // The process-wide instance, made on first use and never released.
    static PlaybackCoordinator &shared();

    // The placeholder every state the app makes up itself has: nothing known but why.
    static PlaybackSnapshot placeholder(PlayerAvailability availability);
    // The artwork file name for a cover URL: its SHA-256 in hex and ".jpg".
    static QString artworkFileName(const QUrl &url);

    const PlaybackSnapshot &snapshot() const { return m_snapshot; }
    const QImage &artwork() const { return m_artwork; }
    const std::optional<QString> &artworkID() const { return m_artworkID; }
    const std::optional<ArtworkPalette> &artworkPalette() const { return m_artworkPalette; }
    const QList<MusicShortcut> &shortcuts() const { return m_shortcuts; }
    const std::optional<QUuid> &casting() const { return m_casting; }
    const std::optional<QUuid> &lastCast() const { return m_lastCast; }
    const std::optional<QUuid> &failedCast() const { return m_failedCast; }
    bool busy() const { return m_busy; }
    const std::optional<QString> &errorKey() const { return m_errorKey; }
    bool storageError() const { return m_storageError; }
    const SharedStore &store() const { return m_store; }
    bool isPreview() const { return m_isPreview; }
    bool labelsPreview() const { return m_labelsPreview; }
    Aura aura() const;
    bool isStarted() const { return m_polling.isValid(); }

    // Observers of sleep, session and application changes, and the polling loop.
    void start();
    // The one road of every refresh: joins the pass in flight or starts one.
    QCoro::Task<void> refresh();
    void setPanel(const QUuid &panel, bool active);
    // Stops the engine and leaves a final "not playing" state for the widgets.
    void flush();
    void setArtwork(
        const QImage &image, const std::optional<ArtworkPalette> &palette, const std::optional<QString> &id);

    // Every new state reaches the views, the file and the widgets here.
    void publish(PlaybackSnapshot snapshot, bool immediate);

    // True when the command was sent and confirmed.
    QCoro::Task<bool> perform(PlaybackCommand command);
    QCoro::Task<void> togglePlayPause();
    void handle(std::exception_ptr error, bool fromCommand);
    QCoro::Task<void> connect();
    void setDisconnected();
    QCoro::Task<void> openSpotify(bool activates);

    // Called by publication with the new snapshot's track.
    void updateArtwork(const std::optional<Track> &track);

    // Shortcuts. Each change is saved before the list in memory follows it.
    static constexpr QLatin1String shortcutsWidgetKind{"OrvelShortcuts"};
    static inline const QString saveFailedText = QStringLiteral("Your changes could not be saved.");
    static constexpr int titleLookupTimeoutMs = 5000;

    // False for a link that does not parse or a blank title, and when saving failed.
    bool upsertShortcut(const std::optional<QUuid> &id, const QString &title, const QString &link,
        const std::optional<SkillGlyph> &glyph = std::nullopt);
    bool saveShortcuts(const QList<MusicShortcut> &shortcuts);
    void moveShortcut(const QUuid &id, qsizetype offset);
    // Also empties the skill slot that held it, once the list is saved.
    void removeShortcut(const QUuid &id);
    void setGlyph(const std::optional<SkillGlyph> &glyph, const QUuid &id);
    void openInSpotify(const MusicShortcut &shortcut);
    void openCurrentTrack();
    // The link's title from the oEmbed endpoint; nothing on any failure.
    QCoro::Task<std::optional<QString>> lookupTitle(SpotifyLink link);
    // Scheme, host and port of the oEmbed endpoint; empty for Spotify's own
    // (the Info key "OrvelOEmbedEndpoint" sets the process's default).
    void setOEmbedEndpoint(const QUrl &endpoint) { m_oEmbedEndpoint = endpoint; }
    // nothing: the process-wide settings.
    void setPreferences(Preferences *preferences) { m_preferences = preferences; }

    // Casting a shortcut: starting its link, launching Spotify when needed.
    static inline const QString connectForSkillsText = QStringLiteral("Connect Spotify to use skills.");
    static inline const QString allowControlText = QStringLiteral(
        "Allow Spotify control in System Settings \u2192 Privacy & Security \u2192 Automation.");
    static constexpr qint32 notPermittedStatus = -1743;
    static constexpr double launchWaitSeconds = 8;
    static constexpr double consentWaitSeconds = 4;
    static constexpr double readinessPause = 0.4;
    static constexpr double busyPause = 0.2;
    static constexpr int busyLooks = 10;
    static constexpr double failedCastPause = 1.5;

    QCoro::Task<void> cast(MusicShortcut shortcut);
    // True when the shortcut plays (or its web link was opened).
    QCoro::Task<bool> playShortcut(MusicShortcut shortcut);
    QCoro::Task<SpotifyReadiness> waitForSpotify(double timeout);

signals:
    void snapshotChanged();
    void artworkChanged();
    void artworkIDChanged();
    void artworkPaletteChanged();
    void shortcutsChanged();
    void castingChanged();
    void lastCastChanged();
    void failedCastChanged();
    void busyChanged();
    void errorKeyChanged();
    void storageErrorChanged();

private:
    QString artworkIDText() const { return m_artworkID.value_or(QString()); }
    QString errorKeyText() const { return m_errorKey.value_or(QString()); }
    bool hasArtworkPalette() const { return m_artworkPalette.has_value(); }

    void setSnapshot(PlaybackSnapshot snapshot);
    void setBusy(bool busy);
    void setErrorKey(std::optional<QString> text);
    void setStorageError(bool failed);
    void setLastCast(std::optional<QUuid> id);

    bool isDisconnected() const;
    std::optional<qint32> spotifyPID() const;
    bool isSpotifyInstalled() const;

    QCoro::Task<void> performRefresh();
    QCoro::Task<void> poll(TaskHandle self);
    QCoro::Task<void> delayedReload(TaskHandle self);
    QCoro::Task<void> artworkGraceTask(TaskHandle self, QString name);
    QCoro::Task<void> downloadArtwork(TaskHandle self, QUrl url, Track track, QUrl fileURL, QString name);
    void clearArtwork() { setArtwork(QImage(), std::nullopt, std::nullopt); }
    // Cancels the running download and hangs up its request.
    void cancelArtworkDownload();
    // Shows a cover and records it in the stored snapshot; false when that save failed.
    bool showArtwork(const QImage &image, const std::optional<ArtworkPalette> &palette, const QString &name);
    void pruneArtwork(const QString &keep, const std::optional<QString> &previous) const;

    // Published state.
    PlaybackSnapshot m_snapshot;
    QImage m_artwork;
    std::optional<QString> m_artworkID;
    std::optional<ArtworkPalette> m_artworkPalette;
    QList<MusicShortcut> m_shortcuts;
    std::optional<QUuid> m_casting;
    std::optional<QUuid> m_lastCast;
    std::optional<QUuid> m_failedCast;
    std::optional<QString> m_lastCastTrackID;
    bool m_busy = false;
    std::optional<QString> m_errorKey;
    bool m_storageError = false;

    const SharedStore m_store;
    const bool m_isPreview = false;
    const bool m_labelsPreview = false;
    const std::shared_ptr<SpotifyControlling> m_bridge;
    Workspace &m_workspace;
    Defaults &m_defaults;
    Scheduler &m_scheduler;
    WidgetCenter &m_widgetCenter;

    TaskHandle m_polling;
    TaskHandle m_artworkTask;
    QPointer<QNetworkReply> m_artworkReply;
    TaskHandle m_artworkGrace;
    std::optional<QUrl> m_artworkSource;
    Date m_artworkRetryAfter = Date::distantPast();
    QNetworkAccessManager *m_artworkSession;
    TaskHandle m_refreshing;
    bool m_asleep = false;
    QSet<QUuid> m_activePanels;
    QList<QMetaObject::Connection> m_observers;
    TaskHandle m_reloadTask;
    TaskHandle m_failedCastReset;

    Preferences &preferences() const;
    static QUrl configuredOEmbedEndpoint();
    QUrl m_oEmbedEndpoint = configuredOEmbedEndpoint();
    Preferences *m_preferences = nullptr;
};
