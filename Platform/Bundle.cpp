#include "Bundle.h"

#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcBundle, "com.velbrandtoro.Orvel.bundle")

const QJsonObject &Bundle::info()
{
    static const QJsonObject info = [] {
        QFile file(QStringLiteral(":/com.velbrandtoro.Orvel/Info.json"));
        if (!file.open(QIODevice::ReadOnly)) {
            qCWarning(lcBundle) << "The embedded Info.json is missing";
            return QJsonObject();
        }
        return QJsonDocument::fromJson(file.readAll()).object();
    }();
    return info;
}

std::optional<QString> Bundle::infoString(const QString &key, const QJsonObject &info)
{
    const QJsonValue value = info.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

namespace {
QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}
} // namespace

std::optional<QString> Containers::appGroupDirectory(const QString &groupIdentifier)
{
    // The identifier becomes one directory name: it must not climb out or nest.
    if (groupIdentifier.isEmpty() || groupIdentifier == QLatin1String(".")
        || groupIdentifier == QLatin1String("..") || groupIdentifier.contains(u'/')
        || groupIdentifier.contains(QChar(0)))
        return std::nullopt;
    const QString base = dataHome();
    if (base.isEmpty())
        return std::nullopt;
    return base + u'/' + groupIdentifier;
}

QString Containers::applicationSupportDirectory()
{
    return dataHome() + u'/' + Bundle::identifier;
}
