#pragma once

#include "AppleEvents.h"
#include "AutomationPermission.h"
#include "PlaybackCommand.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QThread>
#include <exception>
#include <memory>
#include <mutex>

class Scheduler;

Q_DECLARE_LOGGING_CATEGORY(lcSpotifyBridge)

// Ends an operation whose pause was cut short.
class CancellationError : public std::exception {
public:
    const char *what() const noexcept override { return "cancelled"; }
};

// The app's only contact with Spotify. Its operations run one at a time on the
// bridge's own thread, which each event blocks until the reply or the timeout;
// the pauses after a command free the thread for other calls.
class SpotifyBridge final : public SpotifyControlling {
public:
    // The Spotify client on the session bus, with the user's recorded consent;
    // ask puts the consent question to the user.
    SpotifyBridge(Scheduler &scheduler, ConsentPrompt ask);
    SpotifyBridge(std::shared_ptr<AppleEventTransport> transport, AutomationPermission permission,
        Scheduler &scheduler);
    ~SpotifyBridge() override;
    SpotifyBridge(const SpotifyBridge &) = delete;
    SpotifyBridge &operator=(const SpotifyBridge &) = delete;

    QCoro::Task<PlaybackSnapshot> readState(qint32 pid) override;
    QCoro::Task<PlaybackSnapshot> perform(PlaybackCommand command, qint32 pid) override;
    QCoro::Task<qint32> permission(qint32 pid, bool ask) override;
    QCoro::Task<std::optional<bool>> askPermissionAgain() override;

    // The last track read in full.
    std::optional<Track> cachedTrack() const;
    void setCachedTrack(std::optional<Track> track);

    static constexpr double propertyTimeout = 2.0;
    static constexpr double linkTimeout = 6.0;
    static constexpr double commandPause = 0.18;
    static constexpr double linkPause = 0.45;

    // The object specifier of a property of the container (the application when there is none).
    static AEDescriptor specifier(
        const char (&property)[5], const std::optional<AEDescriptor> &from = std::nullopt);

private:
    // Runs on the bridge thread.
    AEDescriptor send(const char (&eventClass)[5], const char (&eventID)[5], qint32 pid,
        const std::optional<AEDescriptor> &object, const std::optional<AEDescriptor> &data, double timeout);
    AEDescriptor read(
        const char (&property)[5], qint32 pid, const std::optional<AEDescriptor> &from = std::nullopt);
    PlaybackSnapshot readStateNow(qint32 pid);
    QCoro::Task<PlaybackSnapshot> performHere(PlaybackCommand command, qint32 pid);
    QCoro::Task<void> pause(double seconds);
    Scheduler &scheduler() const { return m_scheduler; }

    // Runs work on the bridge thread and resumes the caller on its own thread.
    template<typename T>
    QCoro::Task<T> onBridge(std::function<QCoro::Task<T>()> work);

    std::shared_ptr<AppleEventTransport> m_transport;
    AutomationPermission m_permission;
    Scheduler &m_scheduler;
    QThread m_thread;
    QObject *m_context;
    mutable std::mutex m_cacheMutex;
    std::optional<Track> m_cachedTrack;
};
