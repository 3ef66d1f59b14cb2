#pragma once

#include <QJsonObject>
#include <QLatin1String>
#include <QString>
#include <optional>

// The program's identity and its configuration keys, kept in the embedded
// Info.json resource that both programs carry.
struct Bundle {
    static constexpr QLatin1String identifier{"com.velbrandtoro.Orvel"};

    // Read once from the resource; an unreadable resource gives no keys.
    static const QJsonObject &info();
    // The key's value in `info` when it is present and a string.
    static std::optional<QString> infoString(const QString &key, const QJsonObject &info = Bundle::info());
};

// Where files live that both programs or only this one may see.
struct Containers {
    // $XDG_DATA_HOME/<group id>; nothing when the identifier cannot name a
    // directory of its own there or no data location is known.
    static std::optional<QString> appGroupDirectory(const QString &groupIdentifier);
    // $XDG_DATA_HOME/com.velbrandtoro.Orvel, this program's own data.
    static QString applicationSupportDirectory();
};
