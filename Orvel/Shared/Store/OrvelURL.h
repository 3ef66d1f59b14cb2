#pragma once

#include <QJsonObject>
#include <QString>
#include <QUrl>

// The app's URL scheme and the links the widgets open. Each member is worked
// out once per process from the Info key "OrvelURLScheme".
struct OrvelURL {
    OrvelURL() = delete;

    static constexpr QLatin1String defaultScheme{"orvel"};

    static const QString &scheme();
    static const QUrl &player(); // <scheme>://player, shows the top player
    static const QUrl &shortcuts(); // <scheme>://shortcuts, the dashboard's shortcuts

    // The scheme a configuration names: its "OrvelURLScheme" string when that
    // is a usable scheme, else the default. Schemes compare without case, so
    // the result is in lower case, as QUrl reports an incoming URL's scheme.
    static QString scheme(const QJsonObject &info);
};
