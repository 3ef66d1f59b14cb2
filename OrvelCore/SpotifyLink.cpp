#include "SpotifyLink.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

bool isAsciiAlphanumeric(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// QUrl accepts text that a strict URL-components parser refuses (spaces, raw
// non-ASCII, stray percent signs). Refuse those before asking QUrl.
bool isStrictUrlText(const QString &text)
{
    static const QString allowed = QStringLiteral("-._~:/?#[]@!$&'()*+,;=");
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isAsciiAlphanumeric(c) || allowed.contains(c))
            continue;
        if (c == u'%' && i + 2 < text.size() && isHexDigit(text.at(i + 1)) && isHexDigit(text.at(i + 2))) {
            i += 2;
            continue;
        }
        return false;
    }
    return true;
}

std::optional<SpotifyLink::Kind> kindFrom(const QString &piece)
{
    return fromRawValue<SpotifyLink::Kind>(piece);
}

} // namespace

bool SpotifyLink::isValidId(const QString &id)
{
    if (id.size() != idLength)
        return false;
    for (QChar c : id) {
        if (!isAsciiAlphanumeric(c))
            return false;
    }
    return true;
}

std::optional<SpotifyLink> SpotifyLink::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    QStringList pieces;
    if (trimmed.startsWith(QLatin1String("spotify:"))) {
        pieces = trimmed.split(u':', Qt::KeepEmptyParts);
        if (pieces.size() != 3)
            return std::nullopt;
        pieces.removeFirst();
    } else {
        // The scheme is compared on the raw text: QUrl would lower-case "HTTPS".
        if (!trimmed.startsWith(QLatin1String("https:")) || !isStrictUrlText(trimmed))
            return std::nullopt;
        const QUrl url(trimmed, QUrl::StrictMode);
        if (!url.isValid() || url.scheme() != QLatin1String("https"))
            return std::nullopt;
        if (url.host().toLower() != QString(openLinkHost))
            return std::nullopt;
        // No user, password or port, judged on the raw authority: QUrl drops an empty port ("host:").
        const QString authority = trimmed.mid(8).section(QRegularExpression(QStringLiteral("[/?#]")), 0, 0);
        if (!trimmed.startsWith(QLatin1String("https://")) || authority.contains(u'@')
            || authority.contains(u':'))
            return std::nullopt;
        pieces = url.path(QUrl::FullyDecoded).split(u'/', Qt::SkipEmptyParts);
        if (!pieces.isEmpty() && pieces.first().startsWith(QLatin1String("intl-")))
            pieces.removeFirst();
    }
    if (pieces.size() != 2)
        return std::nullopt;
    const auto kind = kindFrom(pieces.at(0));
    if (!kind || !isValidId(pieces.at(1)))
        return std::nullopt;
    return SpotifyLink(*kind, pieces.at(1));
}

std::optional<QUrl> SpotifyLink::playbackURL(const QString &text)
{
    if (const auto link = parse(text))
        return link->url();
    const QStringList pieces = text.split(u':', Qt::SkipEmptyParts);
    if (pieces.size() == 3 && pieces.at(0) == QLatin1String("spotify")
        && pieces.at(1) == QLatin1String("episode") && isValidId(pieces.at(2)))
        return QUrl(QStringLiteral("https://%1/episode/%2").arg(openLinkHost, pieces.at(2)));
    return std::nullopt;
}

QString SpotifyLink::uriString() const
{
    return QStringLiteral("spotify:%1:%2").arg(toRawValue(m_kind), m_id);
}

QUrl SpotifyLink::uri() const
{
    return QUrl(uriString());
}

QUrl SpotifyLink::url() const
{
    return QUrl(QStringLiteral("https://%1/%2/%3").arg(openLinkHost, toRawValue(m_kind), m_id));
}

QJsonValue SpotifyLink::toJson() const
{
    return QJsonObject{{QStringLiteral("kind"), toRawValue(m_kind)}, {QStringLiteral("id"), m_id}};
}

SpotifyLink SpotifyLink::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    const auto kind = json::rawEnum<Kind>(o, QStringLiteral("kind"));
    const QString id = json::string(o, QStringLiteral("id"));
    if (auto link = parse(QStringLiteral("spotify:%1:%2").arg(toRawValue(kind), id)))
        return *link;
    throw json::DecodingError(QStringLiteral("id"), QStringLiteral("Invalid Spotify resource identifier"));
}
