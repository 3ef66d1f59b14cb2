#include "Assets.h"

#include "Bundle.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>

namespace {
const QString folder = QStringLiteral(":/Orvel/Shared/Assets/");

const QHash<QString, QColor> &colorTable()
{
    static const QHash<QString, QColor> table = [] {
        QHash<QString, QColor> result;
        QFile file(folder + QStringLiteral("Colors.json"));
        if (!file.open(QIODevice::ReadOnly))
            return result;
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QColor color = QColor::fromString(it.value().toString());
            if (color.isValid())
                result.insert(it.key(), color);
        }
        return result;
    }();
    return table;
}

QString imagePath(const QString &name)
{
    // Names are plain words; anything that could climb out of the folder is no asset.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('.')))
        return {};
    for (const char *extension : {".svg", ".png"}) {
        const QString path = folder + name + QLatin1String(extension);
        if (QFile::exists(path))
            return path;
    }
    return {};
}
} // namespace

std::optional<QColor> Assets::color(const QString &name)
{
    const auto it = colorTable().constFind(name);
    if (it == colorTable().constEnd())
        return std::nullopt;
    return *it;
}

QImage Assets::image(const QString &name, const QSize &size)
{
    const QString path = imagePath(name);
    if (path.isEmpty() || size.isEmpty())
        return {};
    QImage result(size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (path.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer renderer(path);
        const QSizeF fitted = renderer.defaultSize().toSizeF().scaled(QSizeF(size), Qt::KeepAspectRatio);
        renderer.render(&painter,
            QRectF(
                QPointF((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2), fitted));
    } else {
        const QImage source(path);
        const QImage scaled = source.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(
            QPointF((size.width() - scaled.width()) / 2.0, (size.height() - scaled.height()) / 2.0), scaled);
    }
    return result;
}

QUrl Assets::imageUrl(const QString &name)
{
    const QString path = imagePath(name);
    return path.isEmpty() ? QUrl() : QUrl(QStringLiteral("qrc") + path);
}

QIcon Assets::applicationIcon()
{
    QIcon bundled;
    for (const int side : {16, 32, 48, 64, 128, 256})
        bundled.addPixmap(QPixmap::fromImage(image(QStringLiteral("AppIcon"), QSize(side, side))));
    return QIcon::fromTheme(QString(Bundle::identifier), bundled);
}
