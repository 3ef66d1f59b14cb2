#pragma once

#include "SpotifyLink.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

// The two pure halves of a title look-up at Spotify's oEmbed endpoint: the
// request for a link and the title read from the answer.
struct SpotifyOEmbed {
    SpotifyOEmbed() = delete;

    static constexpr QLatin1String host = SpotifyLink::openLinkHost;
    static constexpr QLatin1String path{"/oembed"};
    // Answers this large or larger are not read.
    static constexpr qsizetype maximumBodySize = 64000;
    // In user-perceived characters.
    static constexpr int maximumTitleLength = 80;

    // https://<host>/oembed?url=<the link's web URL>. A valid `endpoint`
    // (scheme, host and port; e.g. a local test server) replaces the default host.
    static QUrl requestURL(const SpotifyLink &link, const QUrl &endpoint = {});

    // Whether a look-up sent to `request` may follow a redirect to `target`:
    // only to https on the same host, at the port https uses there.
    static bool followsRedirect(const QUrl &request, const QUrl &target);

    // The trimmed "title" of a JSON object, cut to its first 80 characters; nothing
    // for an oversized, malformed or empty answer.
    static std::optional<QString> title(const QByteArray &data);
};
