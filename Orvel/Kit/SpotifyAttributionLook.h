#pragma once

#include <QObject>
#include <QSizeF>
#include <QString>
#include <QtQml/qqmlregistration.h>

// Which of Spotify's marks SpotifyAttribution shows and the fixed frame it
// takes, whatever its container offers.
class SpotifyAttributionLook : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static constexpr QSizeF iconFrame{21, 21};
    static constexpr QSizeF logoFrame{70, 21};

    using QObject::QObject;

    Q_INVOKABLE static QSizeF frame(bool iconOnly) { return iconOnly ? iconFrame : logoFrame; }
    // The named image: the icon alone, or the logo with the name.
    Q_INVOKABLE static QString imageName(bool iconOnly)
    {
        return iconOnly ? QStringLiteral("SpotifyIcon") : QStringLiteral("SpotifyLogo");
    }
};
