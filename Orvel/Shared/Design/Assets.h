#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>
#include <QUrl>
#include <optional>

// The named colours and images that ship in the program's resources. Their
// values live in Assets/ (Colors.json and one SVG or PNG per image), not in code.
struct Assets {
    // The colour of that name; nothing when the catalogue lacks it.
    static std::optional<QColor> color(const QString &name);
    // The image rendered to fit `size` (aspect ratio kept, centred); a null
    // image when the catalogue lacks it, so that it draws nothing.
    static QImage image(const QString &name, const QSize &size);
    // The resource URL of the image for QML's Image; empty when it is missing.
    static QUrl imageUrl(const QString &name);
    // The app's icon for its windows: the icon theme's, once installed, so
    // the desktop's own sizes are used; else the bundled picture.
    static QIcon applicationIcon();
};
