#include "MprisAppleEventTransport.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QUrl>
#include <cmath>
#include <limits>

namespace {

const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

struct Code {
    static constexpr FourCharCode core = fourCharCode("core");
    static constexpr FourCharCode getd = fourCharCode("getd");
    static constexpr FourCharCode setd = fourCharCode("setd");
    static constexpr FourCharCode spfy = fourCharCode("spfy");
    static constexpr FourCharCode track = fourCharCode("pTrk");
};

// Timeouts beyond what D-Bus takes are as good as forever.
int milliseconds(const QDeadlineTimer &deadline)
{
    const qint64 left = deadline.remainingTime();
    if (left < 0)
        return std::numeric_limits<int>::max();
    return int(std::clamp<qint64>(left, 1, std::numeric_limits<int>::max()));
}

QVariant unwrap(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

std::optional<double> number(const QVariant &raw)
{
    const QVariant value = unwrap(raw);
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return value.toDouble();
    default:
        return std::nullopt;
    }
}

std::optional<QString> text(const QVariant &raw)
{
    const QVariant value = unwrap(raw);
    if (value.metaType() == QMetaType::fromType<QString>())
        return value.toString();
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return qvariant_cast<QDBusObjectPath>(value).path();
    return std::nullopt;
}

// A string or a list of strings; other arrays count as missing.
std::optional<QStringList> textList(const QVariant &raw)
{
    const QVariant value = unwrap(raw);
    if (value.metaType() == QMetaType::fromType<QStringList>())
        return value.toStringList();
    if (value.metaType() == QMetaType::fromType<QString>())
        return QStringList{value.toString()};
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        const auto argument = qvariant_cast<QDBusArgument>(value);
        if (argument.currentSignature() != QLatin1String("as"))
            return std::nullopt;
        QStringList list;
        argument >> list;
        return list;
    }
    return std::nullopt;
}

std::optional<QVariantMap> dictionary(const QVariant &raw)
{
    const QVariant value = unwrap(raw);
    if (value.metaType() == QMetaType::fromType<QVariantMap>())
        return value.toMap();
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return std::nullopt;
    const auto argument = qvariant_cast<QDBusArgument>(value);
    if (argument.currentSignature() != QLatin1String("a{sv}"))
        return std::nullopt;
    QVariantMap map;
    argument >> map;
    return map;
}

bool isIdentifierPiece(const QString &piece)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_]+$"));
    return pattern.match(piece).hasMatch();
}

// "spotify:<kind>:<id>" from "/com/spotify/<kind>/<id>", "spotify:<kind>:<id>"
// or an open-link URL; empty for anything else.
QString identifierFrom(const QString &raw)
{
    const QString value = raw.trimmed();
    QStringList pieces;
    if (value.startsWith(QLatin1String("spotify:"))) {
        pieces = value.mid(8).split(QLatin1Char(':'));
    } else if (value.startsWith(QLatin1String("/com/spotify/"))) {
        pieces = value.mid(13).split(QLatin1Char('/'));
    } else {
        const QUrl url(value);
        if (url.scheme() != QLatin1String("https")
            || url.host().toLower() != QLatin1String("open.spotify.com"))
            return {};
        pieces = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (!pieces.isEmpty() && pieces.first().startsWith(QLatin1String("intl-")))
            pieces.removeFirst();
    }
    if (pieces.size() < 2 || pieces.first().isEmpty() || pieces.last().isEmpty())
        return {};
    for (const QString &piece : pieces) {
        if (!isIdentifierPiece(piece) && !value.startsWith(QLatin1String("spotify:")))
            return {};
    }
    return QStringLiteral("spotify:") + pieces.join(QLatin1Char(':'));
}

// The object path SetPosition wants for the current track.
std::optional<QDBusObjectPath> trackPath(const QVariantMap &metadata)
{
    const QVariant raw = unwrap(metadata.value(QStringLiteral("mpris:trackid")));
    if (raw.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return qvariant_cast<QDBusObjectPath>(raw);
    const QString identifier = MprisAppleEventTransport::spotifyIdentifier(metadata);
    if (identifier.isEmpty())
        return std::nullopt;
    const QStringList pieces = identifier.mid(8).split(QLatin1Char(':'));
    for (const QString &piece : pieces) {
        if (!isIdentifierPiece(piece))
            return std::nullopt;
    }
    return QDBusObjectPath(QStringLiteral("/com/spotify/") + pieces.join(QLatin1Char('/')));
}

AEDescriptor playerState(const QString &status)
{
    if (status == QLatin1String("Playing"))
        return AEDescriptor::enumeration(fourCharCode("kPSP"));
    if (status == QLatin1String("Paused"))
        return AEDescriptor::enumeration(fourCharCode("kPSp"));
    return AEDescriptor::enumeration(fourCharCode("kPSS"));
}

} // namespace

struct MprisAppleEventTransport::Call {
    std::int32_t pid = 0;
    QString owner;
    QDeadlineTimer deadline;

    QDBusMessage method(const QString &interface, const QString &name) const
    {
        return QDBusMessage::createMethodCall(owner, objectPath, interface, name);
    }
};

MprisAppleEventTransport::MprisAppleEventTransport(QDBusConnection connection)
    : m_connection(std::move(connection))
{
}

std::optional<MprisAppleEventTransport::Owner> MprisAppleEventTransport::findOwner(
    QDBusConnection &connection, int timeoutMs, QDBusError *error)
{
    auto bus = [&](const QString &name, const QVariant &argument) {
        auto message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
            QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"), name);
        message << argument;
        return connection.call(message, QDBus::Block, timeoutMs);
    };
    const QDBusMessage owner = bus(QStringLiteral("GetNameOwner"), serviceName);
    if (owner.type() != QDBusMessage::ReplyMessage || owner.arguments().size() != 1) {
        if (error)
            *error = QDBusError(owner);
        return std::nullopt;
    }
    const QString uniqueName = owner.arguments().constFirst().toString();
    const QDBusMessage pid = bus(QStringLiteral("GetConnectionUnixProcessID"), uniqueName);
    if (pid.type() != QDBusMessage::ReplyMessage || pid.arguments().size() != 1) {
        if (error)
            *error = QDBusError(pid);
        return std::nullopt;
    }
    const quint32 value = pid.arguments().constFirst().toUInt();
    if (value == 0 || value > quint32(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return Owner{uniqueName, std::int32_t(value)};
}

QString MprisAppleEventTransport::spotifyIdentifier(const QVariantMap &metadata)
{
    if (const auto trackId = text(metadata.value(QStringLiteral("mpris:trackid")))) {
        if (QString identifier = identifierFrom(*trackId); !identifier.isEmpty())
            return identifier;
    }
    if (const auto url = text(metadata.value(QStringLiteral("xesam:url"))))
        return identifierFrom(*url);
    return {};
}

std::optional<QString> MprisAppleEventTransport::resolve(
    std::int32_t pid, const QDeadlineTimer &deadline, AESendResult &failure)
{
    if (pid <= 0) {
        failure = AESendResult::failure(QStringLiteral("NSOSStatusErrorDomain"), AEStatus::procNotFound);
        return std::nullopt;
    }
    {
        const std::lock_guard lock(m_mutex);
        if (auto it = m_owners.find(pid); it != m_owners.end())
            return it->second;
    }
    if (!m_connection.isConnected()) {
        failure = AESendResult::failure(
            QStringLiteral("org.freedesktop.DBus.Error.Disconnected"), AEStatus::connectionInvalid);
        return std::nullopt;
    }
    QDBusError error;
    const auto owner = findOwner(m_connection, milliseconds(deadline), &error);
    if (!owner || owner->pid != pid) {
        if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout
            || error.type() == QDBusError::TimedOut)
            failure = AESendResult::failure(error.name(), AEStatus::errAETimeout);
        else
            failure = AESendResult::failure(
                error.isValid() ? error.name() : QStringLiteral("NSOSStatusErrorDomain"),
                AEStatus::procNotFound);
        return std::nullopt;
    }
    const std::lock_guard lock(m_mutex);
    m_owners[pid] = owner->uniqueName;
    return owner->uniqueName;
}

AESendResult MprisAppleEventTransport::failure(const QDBusMessage &reply, std::int32_t pid, bool writing)
{
    const QString name = reply.errorName();
    const QDBusError::ErrorType type = QDBusError(reply).type();
    switch (type) {
    case QDBusError::ServiceUnknown: {
        const std::lock_guard lock(m_mutex);
        m_owners.erase(pid);
        return AESendResult::failure(name, AEStatus::procNotFound);
    }
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return AESendResult::failure(name, AEStatus::errAETimeout);
    case QDBusError::Disconnected:
        return AESendResult::failure(name, AEStatus::connectionInvalid);
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
        return AESendResult::errorNumber(AEStatus::errAEEventNotHandled);
    case QDBusError::UnknownProperty:
    case QDBusError::InvalidArgs:
        return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
    case QDBusError::PropertyReadOnly:
        return AESendResult::errorNumber(AEStatus::errAEWriteDenied);
    case QDBusError::AccessDenied:
        if (writing)
            return AESendResult::errorNumber(AEStatus::errAEWriteDenied);
        [[fallthrough]];
    default:
        if (name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
            const std::lock_guard lock(m_mutex);
            m_owners.erase(pid);
            return AESendResult::failure(name, AEStatus::procNotFound);
        }
        if (name == QLatin1String("org.freedesktop.DBus.Error.PropertyReadOnly"))
            return AESendResult::errorNumber(AEStatus::errAEWriteDenied);
        return AESendResult::errorNumber(AEStatus::errOSAGeneralError);
    }
}

AESendResult MprisAppleEventTransport::send(const AppleEvent &event, double timeoutSeconds)
{
    const double scaled = timeoutSeconds * m_timeoutScale;
    Call call;
    call.pid = event.targetProcess;
    call.deadline = std::isfinite(scaled)
        ? QDeadlineTimer(qint64(std::clamp(scaled * 1000.0, 1.0, 2147483647.0)), Qt::PreciseTimer)
        : QDeadlineTimer(scaled > 0 ? QDeadlineTimer::Forever : 1);
    AESendResult result;
    const auto owner = resolve(event.targetProcess, call.deadline, result);
    if (!owner)
        return result;
    call.owner = *owner;
    return dispatch(event, call);
}

std::optional<QString> MprisAppleEventTransport::applicationIdentifier(std::int32_t pid)
{
    AESendResult failure;
    if (!resolve(pid, QDeadlineTimer(2000), failure))
        return std::nullopt;
    return applicationId;
}

AESendResult MprisAppleEventTransport::dispatch(const AppleEvent &event, Call &call)
{
    const AEDescriptor *object = event.parameter(AEKeyword::directObject);
    if (event.eventClass == Code::core && (event.eventID == Code::getd || event.eventID == Code::setd)) {
        const auto reference = object ? propertyReference(*object) : std::nullopt;
        if (!reference)
            return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
        if (event.eventID == Code::getd)
            return getProperty(*reference, call);
        return setProperty(*reference, event.parameter(AEKeyword::data), call);
    }
    if (event.eventClass != Code::spfy)
        return AESendResult::errorNumber(AEStatus::errAEEventNotHandled);

    static const std::map<FourCharCode, QString> methods{{fourCharCode("Play"), QStringLiteral("Play")},
        {fourCharCode("Paus"), QStringLiteral("Pause")}, {fourCharCode("Next"), QStringLiteral("Next")},
        {fourCharCode("Prev"), QStringLiteral("Previous")},
        {fourCharCode("PCtx"), QStringLiteral("OpenUri")}};
    const auto method = methods.find(event.eventID);
    if (method == methods.end())
        return AESendResult::errorNumber(AEStatus::errAEEventNotHandled);
    QDBusMessage message = call.method(playerInterface, method->second);
    if (event.eventID == fourCharCode("PCtx")) {
        const auto uri = object ? object->stringValue() : std::nullopt;
        if (!uri)
            return AESendResult::errorNumber(AEStatus::errAECoercionFail);
        message << *uri;
    }
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, milliseconds(call.deadline));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return failure(reply, call.pid);
    return AESendResult{};
}

std::optional<QVariantMap> MprisAppleEventTransport::metadata(Call &call, AESendResult &result)
{
    QDBusMessage message = call.method(propertiesInterface, QStringLiteral("Get"));
    message << playerInterface << QStringLiteral("Metadata");
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, milliseconds(call.deadline));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        result = failure(reply, call.pid);
        return std::nullopt;
    }
    const auto map
        = reply.arguments().size() == 1 ? dictionary(reply.arguments().constFirst()) : std::nullopt;
    if (!map)
        result = AESendResult::errorNumber(AEStatus::errAECoercionFail);
    return map;
}

AESendResult MprisAppleEventTransport::getProperty(const PropertyReference &reference, Call &call)
{
    if (reference.container == Code::track) {
        AESendResult result;
        const auto map = metadata(call, result);
        if (!map)
            return result;
        const QVariantMap &m = *map;
        const QString property = fourCharString(reference.property);
        if (property == QLatin1String("ID  "))
            return AESendResult::value(AEDescriptor::text(MprisAppleEventTransport::spotifyIdentifier(m)));
        if (property == QLatin1String("pnam"))
            return AESendResult::value(
                AEDescriptor::text(text(m.value(QStringLiteral("xesam:title"))).value_or(QString())));
        if (property == QLatin1String("pAlb"))
            return AESendResult::value(
                AEDescriptor::text(text(m.value(QStringLiteral("xesam:album"))).value_or(QString())));
        if (property == QLatin1String("aUrl"))
            return AESendResult::value(
                AEDescriptor::text(text(m.value(QStringLiteral("mpris:artUrl"))).value_or(QString())));
        if (property == QLatin1String("pArt")) {
            const auto artists = textList(m.value(QStringLiteral("xesam:artist")));
            return AESendResult::value(
                AEDescriptor::text(artists ? artists->join(QStringLiteral(", ")) : QString()));
        }
        if (property == QLatin1String("pDur")) {
            const double length = number(m.value(QStringLiteral("mpris:length"))).value_or(0.0);
            return AESendResult::value(AEDescriptor::real(length / 1000.0));
        }
        return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
    }
    if (reference.container != 0)
        return AESendResult::errorNumber(AEStatus::errAENoSuchObject);

    static const std::map<FourCharCode, QString> names{
        {fourCharCode("pPlS"), QStringLiteral("PlaybackStatus")},
        {fourCharCode("pVol"), QStringLiteral("Volume")}, {fourCharCode("pPos"), QStringLiteral("Position")},
        {fourCharCode("pShu"), QStringLiteral("Shuffle")},
        {fourCharCode("pRep"), QStringLiteral("LoopStatus")}};
    const auto name = names.find(reference.property);
    if (name == names.end())
        return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
    QDBusMessage message = call.method(propertiesInterface, QStringLiteral("Get"));
    message << playerInterface << name->second;
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, milliseconds(call.deadline));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return failure(reply, call.pid);
    if (reply.arguments().size() != 1)
        return AESendResult::errorNumber(AEStatus::errAECoercionFail);
    const QVariant value = unwrap(reply.arguments().constFirst());
    const QString property = fourCharString(reference.property);
    if (property == QLatin1String("pPlS")) {
        if (const auto status = text(value); status && value.metaType() == QMetaType::fromType<QString>())
            return AESendResult::value(playerState(*status));
    } else if (property == QLatin1String("pVol")) {
        // Rounded to millionths so a whole-number volume reads back exactly.
        if (const auto volume = number(value))
            return AESendResult::value(AEDescriptor::real(std::round(*volume * 100.0 * 1e6) / 1e6));
    } else if (property == QLatin1String("pPos")) {
        if (const auto position = number(value))
            return AESendResult::value(AEDescriptor::real(*position / 1e6));
    } else if (property == QLatin1String("pShu")) {
        if (value.metaType() == QMetaType::fromType<bool>())
            return AESendResult::value(AEDescriptor::boolean(value.toBool()));
    } else if (property == QLatin1String("pRep")) {
        if (value.metaType() == QMetaType::fromType<QString>())
            return AESendResult::value(AEDescriptor::boolean(value.toString() != QLatin1String("None")));
    }
    return AESendResult::errorNumber(AEStatus::errAECoercionFail);
}

AESendResult MprisAppleEventTransport::setProperty(
    const PropertyReference &reference, const AEDescriptor *value, Call &call)
{
    if (!value)
        return AESendResult::errorNumber(AEStatus::errAECoercionFail);
    const QString property = fourCharString(reference.property);
    if (reference.container != 0) {
        return AESendResult::errorNumber(
            reference.container == Code::track ? AEStatus::errAEWriteDenied : AEStatus::errAENoSuchObject);
    }
    if (property == QLatin1String("pPos")) {
        const auto seconds = value->doubleValue();
        if (!seconds || !std::isfinite(*seconds))
            return AESendResult::errorNumber(AEStatus::errAECoercionFail);
        AESendResult result;
        const auto map = metadata(call, result);
        if (!map)
            return result;
        const auto path = trackPath(*map);
        if (!path)
            return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
        QDBusMessage message = call.method(playerInterface, QStringLiteral("SetPosition"));
        const double micro = std::clamp(*seconds * 1e6, 0.0, 9.0e18);
        message << QVariant::fromValue(*path) << qlonglong(std::llround(micro));
        const QDBusMessage reply = m_connection.call(message, QDBus::Block, milliseconds(call.deadline));
        if (reply.type() != QDBusMessage::ReplyMessage)
            return failure(reply, call.pid, true);
        return AESendResult{};
    }

    QString name;
    QVariant newValue;
    if (property == QLatin1String("pVol")) {
        const auto volume = value->doubleValue();
        if (!volume || !std::isfinite(*volume))
            return AESendResult::errorNumber(AEStatus::errAECoercionFail);
        name = QStringLiteral("Volume");
        newValue = std::clamp(*volume, 0.0, 100.0) / 100.0;
    } else if (property == QLatin1String("pShu") || property == QLatin1String("pRep")) {
        const auto on = value->booleanValue();
        if (!on)
            return AESendResult::errorNumber(AEStatus::errAECoercionFail);
        if (property == QLatin1String("pShu")) {
            name = QStringLiteral("Shuffle");
            newValue = *on;
        } else {
            name = QStringLiteral("LoopStatus");
            newValue = *on ? QStringLiteral("Playlist") : QStringLiteral("None");
        }
    } else if (property == QLatin1String("pPlS") || property == QLatin1String("pTrk")) {
        return AESendResult::errorNumber(AEStatus::errAEWriteDenied);
    } else {
        return AESendResult::errorNumber(AEStatus::errAENoSuchObject);
    }
    QDBusMessage message = call.method(propertiesInterface, QStringLiteral("Set"));
    message << playerInterface << name << QVariant::fromValue(QDBusVariant(newValue));
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, milliseconds(call.deadline));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return failure(reply, call.pid, true);
    return AESendResult{};
}
