#include "SharedStore.h"

#include "Bundle.h"
#include "KeptFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

SharedStore::SharedStore()
    : SharedStore(
        Containers::appGroupDirectory(appGroupIdentifier()), Containers::applicationSupportDirectory())
{
}

SharedStore::SharedStore(
    const std::optional<QString> &containerDirectory, const QString &applicationSupportDirectory)
    : directory(
        (containerDirectory ? *containerDirectory : applicationSupportDirectory) + u'/' + subdirectory)
    , isSharedAvailable(containerDirectory.has_value())
{
}

QString SharedStore::appGroupIdentifier(const QJsonObject &info)
{
    return Bundle::infoString(QStringLiteral("OrvelAppGroup"), info).value_or(defaultAppGroupIdentifier);
}

const QString &SharedStore::appGroupIdentifier()
{
    static const QString identifier = appGroupIdentifier(Bundle::info());
    return identifier;
}

QString SharedStore::filePath(QLatin1String name) const
{
    return directory + u'/' + name;
}

void SharedStore::ensureDirectory() const
{
    PrivateFiles::ensureDirectory(directory);
}

void SharedStore::write(QLatin1String name, const QByteArray &data) const
{
    ensureDirectory();
    // The shortcuts are the user's only copy of them, changed only by an edit:
    // synced. The rest is rebuilt from Spotify or the settings, and written
    // again and again: whole, but not synced.
    if (name == shortcutsFile)
        KeptFiles::save(filePath(name), data);
    else
        KeptFiles::saveCache(filePath(name), data);
}

namespace {
// Readers never fail: a file that cannot be read reads as none.
std::optional<QByteArray> readOrNothing(const QString &path, qint64 limit = PrivateFiles::keptFileLimit)
{
    KeptRead read = PrivateFiles::readCapped(path, limit);
    if (!read.wasRead())
        return std::nullopt;
    return std::move(read.data);
}
bool isSnapshot(const QByteArray &data)
{
    try {
        // A version that is not a whole number does not decode; an older one is ours to replace.
        return PlaybackSnapshot::fromJson(json::parse(data)).version <= PlaybackSnapshot::schemaVersion;
    } catch (const std::exception &) {
        return false;
    }
}

bool isShortcutList(const QByteArray &data)
{
    try {
        return json::parse(data).isArray();
    } catch (const std::exception &) {
        return false;
    }
}

bool isVisualizer(const QByteArray &data)
{
    try {
        VisualizerSettings::fromJson(json::parse(data));
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
} // namespace

std::optional<QByteArray> SharedStore::read(QLatin1String name) const
{
    return readOrNothing(filePath(name));
}

void SharedStore::keepUnreadable() const
{
    // Also the covers' temporaries, whose names are not known here.
    PrivateFiles::removeLeftoversIn(directory);
    KeptFiles::load(filePath(snapshotFile), isSnapshot);
    KeptFiles::load(filePath(shortcutsFile), isShortcutList);
    KeptFiles::load(filePath(visualizerFile), isVisualizer);
    // Any text reads as a skin.
    KeptFiles::load(filePath(skinFile), [](const QByteArray &) { return true; });
}

std::optional<QByteArray> SharedStore::loadArtwork(const std::optional<QString> &name) const
{
    const std::optional<QUrl> url = artworkURL(name);
    if (!url)
        return std::nullopt;
    return readOrNothing(url->toLocalFile(), artworkFileLimit);
}

void SharedStore::saveSnapshot(const PlaybackSnapshot &snapshot) const
{
    // Encode first, so a value that cannot be written leaves the old file alone.
    const QByteArray data = json::encodeData(snapshot);
    write(snapshotFile, data);
}

void SharedStore::saveShortcuts(const QList<MusicShortcut> &shortcuts) const
{
    const QByteArray data = ShortcutList::encode(shortcuts);
    write(shortcutsFile, data);
}

void SharedStore::saveVisualizer(const VisualizerSettings &settings) const
{
    const QByteArray data = json::encodeData(settings);
    write(visualizerFile, data);
}

void SharedStore::saveSkin(Skin skin) const
{
    write(skinFile, skinFileData(skin));
}

void SharedStore::clearPlayback() const
{
    ensureDirectory();
    QDir dir(directory);
    if (!dir.exists())
        throw FileError(directory, QStringLiteral("the directory cannot be listed"));
    const QFileInfoList entries = dir.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        // The extension is what follows the last dot of a name that does not start with it.
        const qsizetype dot = name.lastIndexOf(u'.');
        const bool isArtwork = dot > 0 && QStringView(name).mid(dot + 1) == artworkExtension;
        if (name != snapshotFile && !isArtwork)
            continue;
        const bool removed = entry.isDir() && !entry.isSymLink() ? QDir(entry.filePath()).removeRecursively()
                                                                 : QFile::remove(entry.filePath());
        if (!removed)
            throw FileError(entry.filePath(), QStringLiteral("could not be removed"));
    }
}

PlaybackSnapshot SharedStore::placeholderSnapshot()
{
    return PlaybackSnapshot(PlayerAvailability::unavailable, std::nullopt, false, 0,
        PlaybackSnapshot::defaultVolume, false, false, PlaybackCapabilities{}, Date::distantPast(),
        std::nullopt, std::nullopt, std::nullopt);
}

PlaybackSnapshot SharedStore::loadSnapshot() const
{
    const auto data = read(snapshotFile);
    if (!data)
        return placeholderSnapshot();
    try {
        const PlaybackSnapshot snapshot = PlaybackSnapshot::fromJson(json::parse(*data));
        if (snapshot.version == PlaybackSnapshot::schemaVersion)
            return snapshot;
    } catch (const std::exception &) {
    }
    return placeholderSnapshot();
}

QList<MusicShortcut> SharedStore::loadShortcuts() const
{
    const auto data = read(shortcutsFile);
    if (!data)
        return {};
    QList<MusicShortcut> kept;
    for (const MusicShortcut &shortcut : ShortcutList::decode(*data)) {
        if (shortcut.title.isEmpty())
            continue;
        if (!SpotifyLink::parse(shortcut.link.url().toString(QUrl::FullyEncoded)))
            continue;
        kept.append(shortcut);
    }
    return kept;
}

VisualizerSettings SharedStore::loadVisualizer() const
{
    const auto data = read(visualizerFile);
    if (!data)
        return VisualizerSettings();
    try {
        return VisualizerSettings::fromJson(json::parse(*data));
    } catch (const std::exception &) {
        return VisualizerSettings();
    }
}

Skin SharedStore::loadSkin() const
{
    const auto data = read(skinFile);
    if (!data)
        return Skin::classico;
    return skinFromFileData(*data);
}

std::optional<QUrl> SharedStore::artworkURL(const std::optional<QString> &name) const
{
    if (!name || name->contains(u'/') || name->contains(QLatin1String(".."))
        || !name->endsWith(QLatin1String(".jpg"), Qt::CaseSensitive))
        return std::nullopt;
    return QUrl::fromLocalFile(directory + u'/' + *name);
}
