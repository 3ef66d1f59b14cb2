#include "SpotifyOEmbed.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTextBoundaryFinder>
#include <QUrlQuery>

QUrl SpotifyOEmbed::requestURL(const SpotifyLink &link, const QUrl &endpoint)
{
    QUrl url;
    if (endpoint.isValid() && !endpoint.host().isEmpty()) {
        url.setScheme(endpoint.scheme());
        url.setHost(endpoint.host());
        url.setPort(endpoint.port());
    } else {
        url.setScheme(QStringLiteral("https"));
        url.setHost(host);
    }
    url.setPath(path);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("url"), link.url().toString(QUrl::FullyEncoded));
    url.setQuery(query);
    return url;
}

bool SpotifyOEmbed::followsRedirect(const QUrl &request, const QUrl &target)
{
    const QString https = QStringLiteral("https");
    const int port = request.scheme() == https ? request.port(443) : 443;
    return target.isValid() && target.scheme() == https && target.userInfo().isEmpty()
        && !target.host().isEmpty() && target.host() == request.host() && target.port(443) == port;
}

std::optional<QString> SpotifyOEmbed::title(const QByteArray &data)
{
    if (data.size() >= maximumBodySize)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue value = document.object().value(QStringLiteral("title"));
    if (!value.isString())
        return std::nullopt;
    const QString trimmed = value.toString().trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;

    // Cut at a grapheme boundary so that no surrogate pair or combining sequence is split.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, trimmed);
    qsizetype end = 0;
    for (int n = 0; n < maximumTitleLength; ++n) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next < 0)
            return trimmed;
        end = next;
    }
    return trimmed.left(end);
}
