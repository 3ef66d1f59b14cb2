#pragma once

#include "ArtworkPalette.h"
#include "Date.h"
#include "MusicShortcut.h"
#include "Playback.h"
#include "PlaybackCommand.h"
#include "QmlOwners.h"
#include "Scheduler.h"
#include "SharedStore.h"
#include "ShortcutListModel.h"
#include "SkillBar.h"
#include "SkinPalette.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <qcoro/qcorotask.h>

class Announcer;
class Defaults;
class Preferences;
class QNetworkAccessManager;
class QNetworkReply;
class WidgetCenter;
class Workspace;

Q_DECLARE_METATYPE(PlaybackSnapshot)

// What waiting for Spotify before a cast found.
enum class SpotifyReadiness { ready, needsPermission, permissionDenied, timedOut };

// The cover as published, for image loaders on whatever thread they run: the
// views' URL names it by key, and only the current key is answered.
class PublishedArtwork {
public:
    void set(const QString &key, const QImage &image);
    // Null unless the key is the current one.
    QImage image(const QString &key) const;

private:
    mutable QMutex m_mutex;
    QString m_key;
    QImage m_image;
};

// The app's playback engine: what the app knows about Spotify, kept current by
// polling for the life of the process, and the one road of every command.
// Lives on the main thread; exclusion is by flags, never by locks.
//
// QML sees it as the singleton PlaybackCoordinator. Every property announces
// only real changes of its own value; optional values read as null, enums as
// their raw values, identifiers as upper-case UUID text.
class PlaybackCoordinator : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    // The snapshot's fields.
    Q_PROPERTY(QString availability READ availabilityRawValue NOTIFY availabilityChanged)
    Q_PROPERTY(bool hasTrack READ hasTrack NOTIFY hasTrackChanged)
    Q_PROPERTY(QVariant trackID READ trackID NOTIFY trackIDChanged)
    Q_PROPERTY(QVariant trackTitle READ trackTitle NOTIFY trackTitleChanged)
    Q_PROPERTY(QVariant trackArtist READ trackArtist NOTIFY trackArtistChanged)
    Q_PROPERTY(QVariant trackAlbum READ trackAlbum NOTIFY trackAlbumChanged)
    Q_PROPERTY(QVariant trackDuration READ trackDuration NOTIFY trackDurationChanged)
    Q_PROPERTY(QVariant artworkURL READ artworkURL NOTIFY artworkURLChanged)
    Q_PROPERTY(QVariant spotifyURL READ spotifyURL NOTIFY spotifyURLChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(double position READ position NOTIFY positionChanged)
    Q_PROPERTY(double volume READ volume NOTIFY volumeChanged)
    Q_PROPERTY(bool shuffle READ shuffle NOTIFY shuffleChanged)
    Q_PROPERTY(bool repeatEnabled READ repeatEnabled NOTIFY repeatEnabledChanged)
    Q_PROPERTY(bool canSeek READ canSeek NOTIFY canSeekChanged)
    Q_PROPERTY(bool canShuffle READ canShuffle NOTIFY canShuffleChanged)
    Q_PROPERTY(bool canRepeat READ canRepeat NOTIFY canRepeatChanged)
    // The moment `position` was read, as a date (a JS Date in QML).
    Q_PROPERTY(QDateTime updatedAt READ updatedAt NOTIFY updatedAtChanged)
    Q_PROPERTY(QVariant commandError READ commandError NOTIFY commandErrorChanged)

    // The engine's own state.
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QVariant errorKey READ errorKeyValue NOTIFY errorKeyChanged)
    Q_PROPERTY(bool storageError READ storageError NOTIFY storageErrorChanged)
    Q_PROPERTY(QVariant casting READ castingValue NOTIFY castingChanged)
    Q_PROPERTY(QVariant lastCast READ lastCastValue NOTIFY lastCastChanged)
    Q_PROPERTY(QVariant failedCast READ failedCastValue NOTIFY failedCastChanged)
    Q_PROPERTY(bool isPreview READ isPreview CONSTANT)
    Q_PROPERTY(bool labelsPreview READ labelsPreview CONSTANT)

    // The cover and its colours.
    Q_PROPERTY(Aura aura READ aura NOTIFY auraChanged)
    // Null, or {primary, secondary, deep} as colours.
    Q_PROPERTY(QVariant artworkPalette READ artworkPaletteValue NOTIFY artworkPaletteChanged)
    Q_PROPERTY(QVariant artworkID READ artworkIDValue NOTIFY artworkIDChanged)
    // image://artwork/… for an Image, empty without a cover; new for every cover.
    Q_PROPERTY(QUrl artworkSource READ artworkSource NOTIFY artworkSourceChanged)

    Q_PROPERTY(ShortcutListModel *shortcutModel READ shortcutModel CONSTANT)

public:
    static PlaybackCoordinator *create(QQmlEngine *engine, QJSEngine *)
    {
        return QmlOwners::lookup<PlaybackCoordinator>(engine);
    }

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
    // How long an opening waits for Spotify's player to reach the bus. A cold
    // start takes seconds (a Snap or a Flatpak on a slow disk the longest, well
    // under this); a client not there by then is not coming, and the opening
    // goes on as if it had not waited.
    static constexpr double launchBusWait = 20;
    // How long the first pass waits for the bus to say whether Spotify runs;
    // a healthy bus answers in milliseconds.
    static constexpr double lookUpWait = 2;
    static constexpr qint32 consentRequiredStatus = -1744;

    static constexpr double artworkRetryPause = 30;
    static constexpr double artworkGracePause = 1.2;
    static constexpr int artworkRequestTimeoutMs = 8000;
    static constexpr qint64 artworkBodyLimit = 5'000'000; // this many bytes or more are refused
    static constexpr int artworkThumbnailPixels = 48;
    static constexpr int artworkJpegQuality = 85;
    static constexpr int artworkDecodeLimitMB = 128;

    // Everything the coordinator reaches outside itself, so tests can stand in for it.
    // Each is required but the network session; the composition root hands them down.
    struct Services {
        std::shared_ptr<SpotifyControlling> bridge;
        Workspace *workspace = nullptr;
        SharedStore store;
        Defaults *defaults = nullptr;
        Scheduler *scheduler = nullptr;
        WidgetCenter *widgetCenter = nullptr;
        Preferences *preferences = nullptr;
        Announcer *announcer = nullptr;
        // The session for artwork and title look-ups; made ephemeral when absent.
        QNetworkAccessManager *network = nullptr;
    };

    explicit PlaybackCoordinator(Services services, QObject *parent = nullptr);
    ~PlaybackCoordinator() override;

    // The placeholder every state the app makes up itself has: nothing known but why.
    static PlaybackSnapshot placeholder(PlayerAvailability availability);
    // The artwork file name for a cover URL: its SHA-256 in hex and ".jpg".
    static QString artworkFileName(const QUrl &url);

    const PlaybackSnapshot &snapshot() const { return m_snapshot; }
    // The position extrapolated to `now` while playing, as the views show it.
    // A binding that calls it also reads updatedAt: every new reading has a new one.
    Q_INVOKABLE double estimatedPosition(const QDateTime &now) const;
    const QImage &artwork() const { return m_artwork; }
    QUrl artworkSource() const { return m_artworkSourceURL; }
    // What the "artwork" image provider answers from.
    std::shared_ptr<const PublishedArtwork> publishedArtwork() const { return m_published; }
    const std::optional<QString> &artworkID() const { return m_artworkID; }
    const std::optional<ArtworkPalette> &artworkPalette() const { return m_artworkPalette; }
    const QList<MusicShortcut> &shortcuts() const { return m_shortcuts; }
    // Made on first use, then the same for the coordinator's life.
    ShortcutListModel *shortcutModel();
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
    // Asks the workspace afresh each time: Spotify can be installed or removed meanwhile.
    Q_INVOKABLE bool isSpotifyInstalled() const;

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
    void handle(std::exception_ptr error, bool fromCommand);
    // The one request that may put the consent question; after a refusal it
    // puts it again, as nothing else on this desktop can undo one.
    QCoro::Task<void> connectAsync();
    Q_INVOKABLE void setDisconnected();
    // Completes once Spotify is on the bus (at most busWait seconds) and settled.
    QCoro::Task<void> openSpotifyAsync(bool activates, double busWait = launchBusWait);
    // Our consent record is the Automation list: the consent question for
    // Spotify again, then a refresh when the user answered it.
    QCoro::Task<void> openAutomationSettingsAsync();

    // The views' commands: each starts its work on the next turn and leaves it running.
    Q_INVOKABLE void togglePlayPause();
    Q_INVOKABLE void play() { send(PlaybackCommand::play()); }
    Q_INVOKABLE void pause() { send(PlaybackCommand::pause()); }
    Q_INVOKABLE void next() { send(PlaybackCommand::next()); }
    Q_INVOKABLE void previous() { send(PlaybackCommand::previous()); }
    Q_INVOKABLE void seek(double seconds) { send(PlaybackCommand::seek(seconds)); }
    Q_INVOKABLE void setVolume(double level) { send(PlaybackCommand::volume(level)); }
    Q_INVOKABLE void setShuffle(bool enabled) { send(PlaybackCommand::shuffle(enabled)); }
    Q_INVOKABLE void setRepeat(bool enabled) { send(PlaybackCommand::repeatMode(enabled)); }
    // The toggles of the player views: the flag is read when the work runs, not
    // at the click, so two quick clicks each flip what the one before left.
    Q_INVOKABLE void sendShuffleToggle();
    Q_INVOKABLE void sendRepeatToggle();
    Q_INVOKABLE void connect();
    Q_INVOKABLE void openSpotify(bool activates);
    Q_INVOKABLE void openAutomationSettings();
    // Shortcuts by their id text; an unknown id does nothing.
    Q_INVOKABLE void cast(const QString &shortcutID);
    Q_INVOKABLE void openInSpotify(const QString &shortcutID);
    Q_INVOKABLE void moveShortcut(const QString &shortcutID, int offset);
    Q_INVOKABLE void removeShortcut(const QString &shortcutID);

    // Called by publication with the new snapshot's track.
    void updateArtwork(const std::optional<Track> &track);

    // Shortcuts. Each change is saved before the list in memory follows it.
    static constexpr QLatin1String shortcutsWidgetKind{"OrvelShortcuts"};
    static inline const QString saveFailedText = QStringLiteral("Your changes could not be saved.");
    // The longest idle wait of a title look-up, and the longest a whole one may take.
    static constexpr int titleLookupTimeoutMs = 5000;
    static constexpr int titleLookupDeadlineMs = 10000;
    static constexpr int titleLookupMaxRedirects = 5;

    // False for a link that does not parse or a blank title, and when saving failed.
    bool upsertShortcut(const std::optional<QUuid> &id, const QString &title, const QString &link,
        const std::optional<SkillGlyph> &glyph = std::nullopt);
    bool saveShortcuts(const QList<MusicShortcut> &shortcuts);
    void moveShortcut(const QUuid &id, qsizetype offset);
    // Also empties the skill slot that held it, once the list is saved.
    // By value: callers often pass the id of an entry in the list this replaces.
    void removeShortcut(QUuid id);
    void setGlyph(const std::optional<SkillGlyph> &glyph, const QUuid &id);
    void openInSpotify(const MusicShortcut &shortcut);
    Q_INVOKABLE void openCurrentTrack();
    // The link's title from the oEmbed endpoint; nothing on any failure.
    QCoro::Task<std::optional<QString>> lookupTitle(SpotifyLink link);
    // Scheme, host and port of the oEmbed endpoint; empty for Spotify's own
    // (the Info key "OrvelOEmbedEndpoint" sets the process's default).
    void setOEmbedEndpoint(const QUrl &endpoint) { m_oEmbedEndpoint = endpoint; }

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
    // Every publication, changed or not.
    void snapshotChanged();
    void availabilityChanged();
    void hasTrackChanged();
    void trackIDChanged();
    void trackTitleChanged();
    void trackArtistChanged();
    void trackAlbumChanged();
    void trackDurationChanged();
    void artworkURLChanged();
    void spotifyURLChanged();
    void isPlayingChanged();
    void positionChanged();
    void volumeChanged();
    void shuffleChanged();
    void repeatEnabledChanged();
    void canSeekChanged();
    void canShuffleChanged();
    void canRepeatChanged();
    void updatedAtChanged();
    void commandErrorChanged();

    void artworkChanged();
    void artworkIDChanged();
    void artworkPaletteChanged();
    void auraChanged();
    void artworkSourceChanged();
    void shortcutsChanged();
    void castingChanged();
    void lastCastChanged();
    void failedCastChanged();
    void busyChanged();
    void errorKeyChanged();
    void storageErrorChanged();

private:
    QString availabilityRawValue() const { return toRawValue(m_snapshot.availability); }
    bool hasTrack() const { return m_snapshot.track.has_value(); }
    QVariant trackID() const;
    QVariant trackTitle() const;
    QVariant trackArtist() const;
    QVariant trackAlbum() const;
    QVariant trackDuration() const;
    QVariant artworkURL() const;
    QVariant spotifyURL() const;
    bool isPlaying() const { return m_snapshot.isPlaying; }
    double position() const { return m_snapshot.position; }
    double volume() const { return m_snapshot.volume; }
    bool shuffle() const { return m_snapshot.shuffle; }
    bool repeatEnabled() const { return m_snapshot.repeatEnabled; }
    bool canSeek() const { return m_snapshot.capabilities.canSeek; }
    bool canShuffle() const { return m_snapshot.capabilities.canShuffle; }
    bool canRepeat() const { return m_snapshot.capabilities.canRepeat; }
    QDateTime updatedAt() const { return m_snapshot.updatedAt.toDateTime(); }
    QVariant commandError() const;
    QVariant errorKeyValue() const;
    QVariant castingValue() const;
    QVariant lastCastValue() const;
    QVariant failedCastValue() const;
    QVariant artworkPaletteValue() const;
    QVariant artworkIDValue() const;

    // Runs a command for a view, dropping its outcome.
    void send(PlaybackCommand command);
    // Runs work on the coordinator for as long as it lives.
    void launch(std::function<QCoro::Task<void>(PlaybackCoordinator &)> work);
    std::optional<MusicShortcut> findShortcut(const QString &id) const;
    // The skill bar for the shortcut model, watched from the first read on.
    SkillBar watchedSkills();

    void setSnapshot(PlaybackSnapshot snapshot);
    void setBusy(bool busy);
    void setErrorKey(std::optional<QString> text);
    void setStorageError(bool failed);
    void setLastCast(std::optional<QUuid> id);
    void setFailedCast(std::optional<QUuid> id);

    bool isDisconnected() const;
    std::optional<qint32> spotifyPID() const;

    QCoro::Task<void> performRefresh();
    QCoro::Task<void> poll(TaskHandle self);
    // The polling pause the state asks for: asleep, a panel open, playing or not.
    double pace() const;
    // A wait of at most `seconds` that ends early once `done` holds, checked
    // whenever the workspace reports on Spotify; already finished when it holds now.
    TaskHandle waitForWorkspace(std::function<bool()> done, double seconds);
    QCoro::Task<void> delayedReload(TaskHandle self);
    QCoro::Task<void> artworkGraceTask(TaskHandle self, QString name);
    QCoro::Task<void> downloadArtwork(TaskHandle self, QUrl url, Track track, QUrl fileURL, QString name);
    // What Qt may hold of a reply that has not been taken yet.
    static constexpr qint64 readBufferBytes = 256 * 1024;
    // A reply's body, taken as it streams in; nothing once it reaches `limit`
    // bytes (or says it will), when the transfer is aborted at once.
    static QCoro::Task<std::optional<QByteArray>> readBody(QNetworkReply *reply, qint64 limit);
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
    QUrl m_artworkSourceURL;
    quint64 m_artworkGeneration = 0;
    const std::shared_ptr<PublishedArtwork> m_published = std::make_shared<PublishedArtwork>();
    ShortcutListModel *m_shortcutModel = nullptr;
    QMetaObject::Connection m_skillsWatch;

    const SharedStore m_store;
    const bool m_isPreview = false;
    const bool m_labelsPreview = false;
    const std::shared_ptr<SpotifyControlling> m_bridge;
    Workspace &m_workspace;
    Defaults &m_defaults;
    Scheduler &m_scheduler;
    WidgetCenter &m_widgetCenter;

    TaskHandle m_polling;
    // The polling loop's pause now, and how long it was chosen to be.
    TaskHandle m_pollPause;
    double m_pollPace = 0;
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
    // An opening's wait for Spotify on the bus; a second opening joins it.
    TaskHandle m_launchWait;
    bool m_flushed = false;

    Preferences &preferences() const { return m_preferences; }
    static QUrl configuredOEmbedEndpoint();
    QUrl m_oEmbedEndpoint = configuredOEmbedEndpoint();
    Preferences &m_preferences;
    Announcer &m_announcer;
};
