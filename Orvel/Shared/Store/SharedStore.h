#pragma once

#include "MusicShortcut.h"
#include "Playback.h"
#include "Skin.h"
#include "VisualizerSettings.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// The files the app shares with the widget host, in the App Group container.
// The app writes them, the widget host only reads. Writers throw (FileError,
// json::EncodingError) and log a failure once (KeptFiles); readers never throw,
// read at most a few MB of a regular file and fall back to a default.
struct SharedStore {
    static constexpr QLatin1String defaultAppGroupIdentifier{"QX7TR4LM2B.com.velbrandtoro.Orvel.shared"};
    static constexpr QLatin1String subdirectory{"Orvel"};
    static constexpr QLatin1String snapshotFile{"playback.json"};
    static constexpr QLatin1String shortcutsFile{"shortcuts.json"};
    static constexpr QLatin1String visualizerFile{"visualizer.json"};
    static constexpr QLatin1String skinFile{"skin.txt"};
    static constexpr QLatin1String artworkExtension{"jpg"};
    // Larger artwork files are not ours and are not read.
    static constexpr qint64 artworkFileLimit = 16 * 1024 * 1024;

    // The folder that holds every shared file.
    QString directory;
    // False when there is no App Group container and the files lie in the
    // app's private folder, where the widget host cannot see them.
    bool isSharedAvailable = false;

    // Locates the directory; creates nothing.
    SharedStore();
    // The store for a given container (or none) and private fallback folder.
    SharedStore(const std::optional<QString> &containerDirectory, const QString &applicationSupportDirectory);

    // The group named by the Info key "OrvelAppGroup", worked out once per process.
    static const QString &appGroupIdentifier();
    static QString appGroupIdentifier(const QJsonObject &info);

    void ensureDirectory() const;
    void saveSnapshot(const PlaybackSnapshot &snapshot) const;
    void saveShortcuts(const QList<MusicShortcut> &shortcuts) const;
    void saveVisualizer(const VisualizerSettings &settings) const;
    void saveSkin(Skin skin) const;
    // Removes the snapshot and every artwork file; the first failure is thrown.
    void clearPlayback() const;

    // The app's check at start, before anything writes: a file that cannot be
    // used is set aside (its reader's fallback stays), one that cannot be
    // opened is left in place and not written over.
    void keepUnreadable() const;

    // A version-1 snapshot, or the placeholder: unavailable, dated in the distant past.
    PlaybackSnapshot loadSnapshot() const;
    // The shortcuts with a title and a link that still parses, in stored order.
    QList<MusicShortcut> loadShortcuts() const;
    VisualizerSettings loadVisualizer() const;
    Skin loadSkin() const;

    // Where the artwork file of that name belongs: only a plain ".jpg" name
    // gives a location, so a name read from a snapshot stays inside directory.
    std::optional<QUrl> artworkURL(const std::optional<QString> &name) const;
    // The bytes of the artwork file of that name, when it is there and not too large.
    std::optional<QByteArray> loadArtwork(const std::optional<QString> &name) const;

    static PlaybackSnapshot placeholderSnapshot();

    friend bool operator==(const SharedStore &, const SharedStore &) = default;

private:
    QString filePath(QLatin1String name) const;
    void write(QLatin1String name, const QByteArray &data) const;
    std::optional<QByteArray> read(QLatin1String name) const;
};
