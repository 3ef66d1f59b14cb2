#pragma once

#include "AppleEvents.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QVariantMap>
#include <mutex>

// Delivers the Spotify events and properties to the Spotify desktop client
// through its MPRIS player on the D-Bus session bus. The target process is the
// owner of the player's bus name whose Unix process id equals the event's.
class MprisAppleEventTransport final : public AppleEventTransport {
public:
    static inline const QString serviceName = QStringLiteral("org.mpris.MediaPlayer2.spotify");
    static inline const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");
    static inline const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
    static inline const QString applicationId = QStringLiteral("com.spotify.client");

    explicit MprisAppleEventTransport(QDBusConnection connection = QDBusConnection::sessionBus());

    AESendResult send(const AppleEvent &event, double timeoutSeconds) override;
    std::optional<QString> applicationIdentifier(std::int32_t pid) override;

    // Multiplies every timeout; tests shorten them so a silent player fails fast.
    void setTimeoutScale(double scale) { m_timeoutScale = scale; }

    // The player's owner and its process id, or the D-Bus error that prevented finding them.
    struct Owner {
        QString uniqueName;
        std::int32_t pid = 0;
    };
    static std::optional<Owner> findOwner(QDBusConnection &connection, int timeoutMs, QDBusError *error);

    // "spotify:<kind>:<id>" from the metadata's track id or URL; empty when nothing is loaded.
    static QString spotifyIdentifier(const QVariantMap &metadata);

private:
    struct Call;
    AESendResult dispatch(const AppleEvent &event, Call &call);
    AESendResult getProperty(const PropertyReference &reference, Call &call);
    AESendResult setProperty(const PropertyReference &reference, const AEDescriptor *value, Call &call);
    std::optional<QVariantMap> metadata(Call &call, AESendResult &failure);
    std::optional<QString> resolve(std::int32_t pid, const QDeadlineTimer &deadline, AESendResult &failure);
    AESendResult failure(const QDBusMessage &reply, std::int32_t pid, bool writing = false);

    QDBusConnection m_connection;
    double m_timeoutScale = 1.0;
    std::mutex m_mutex;
    std::map<std::int32_t, QString> m_owners; // unique names are never reused, so a stale one just fails
};
