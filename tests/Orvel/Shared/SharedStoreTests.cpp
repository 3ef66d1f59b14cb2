#include "PrivateFiles.h"
#include "QtPrinters.h"
#include "SharedStore.h"
#include "TemporaryHome.h"

#include <QDir>
#include <gtest/gtest.h>
#include <limits>

namespace {
const QString TRACK_ID = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");
const QString ALBUM_ID = QStringLiteral("0VjIjW4GlUZAMYd2vXMi3b");

class SharedStoreTest : public ::testing::Test {
protected:
    TemporaryHome home;
    SharedStore store{home.path("group"), home.path("support")};

    QString file(const QString &name) const { return store.directory + "/" + name; }
    void put(const QString &name, const QByteArray &content) const
    {
        QDir().mkpath(store.directory);
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QStringList entries() const
    {
        return QDir(store.directory)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

PlaybackSnapshot playingSnapshot()
{
    return PlaybackSnapshot(PlayerAvailability::ready,
        Track("spotify:track:" + TRACK_ID, "Song", "Artist", "Album", 215, QUrl("https://i.scdn.co/image/ab"),
            QUrl("https://open.spotify.com/track/" + TRACK_ID)),
        true, 12.5, 64, true, false, {true, true, false}, Date{786000000}, "cover.jpg", std::nullopt,
        std::nullopt);
}

QJsonObject shortcutJson(const QString &title, const QString &kind, const QString &id, int n)
{
    return QJsonObject{{"id", QStringLiteral("00000000-0000-0000-0000-00000000000%1").arg(n)},
        {"title", title}, {"link", QJsonObject{{"kind", kind}, {"id", id}}}};
}
} // namespace

TEST_F(SharedStoreTest, TheFilesLieInOrvelInsideTheContainerOrElseTheAppsOwnFolder)
{
    EXPECT_EQ(store.directory, home.path("group/Orvel"));
    EXPECT_TRUE(store.isSharedAvailable);
    const SharedStore fallback(std::nullopt, home.path("support"));
    EXPECT_EQ(fallback.directory, home.path("support/Orvel"));
    EXPECT_FALSE(fallback.isSharedAvailable);

    const SharedStore located;
    EXPECT_EQ(located.directory, home.dataHome() + "/QX7TR4LM2B.com.velbrandtoro.Orvel.shared/Orvel");
    EXPECT_TRUE(located.isSharedAvailable);
    EXPECT_FALSE(QFileInfo::exists(home.dataHome())); // locating creates nothing

    EXPECT_EQ(SharedStore::appGroupIdentifier(QJsonObject{}), "QX7TR4LM2B.com.velbrandtoro.Orvel.shared");
    EXPECT_EQ(SharedStore::appGroupIdentifier(QJsonObject{{"OrvelAppGroup", 1}}),
        "QX7TR4LM2B.com.velbrandtoro.Orvel.shared");
    EXPECT_EQ(SharedStore::appGroupIdentifier(QJsonObject{{"OrvelAppGroup", "T.group"}}), "T.group");
}

TEST_F(SharedStoreTest, AnUnusableSnapshotFileReadsAsThePlaceholder)
{
    QJsonObject secondVersion = playingSnapshot().toJson().toObject();
    secondVersion["version"] = 2;
    QJsonObject withoutVolume = playingSnapshot().toJson().toObject();
    withoutVolume.remove("volume");
    const std::vector<std::pair<const char *, std::optional<QByteArray>>> cases{
        {"missing", std::nullopt},
        {"not JSON", "playing: yes"},
        {"empty", ""},
        {"version 2", json::serialize(secondVersion)},
        {"a required key missing", json::serialize(withoutVolume)},
    };
    for (const auto &[name, content] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(file("playback.json"));
        if (content)
            put("playback.json", *content);
        const PlaybackSnapshot snapshot = store.loadSnapshot();
        EXPECT_EQ(snapshot, SharedStore::placeholderSnapshot());
        EXPECT_EQ(snapshot.availability, PlayerAvailability::unavailable);
        EXPECT_EQ(snapshot.volume, 50);
        EXPECT_EQ(snapshot.updatedAt, Date::distantPast());
        EXPECT_FALSE(snapshot.track || snapshot.isPlaying || snapshot.capabilities.canSeek);
    }
    store.saveSnapshot(playingSnapshot());
    EXPECT_EQ(store.loadSnapshot(), playingSnapshot());
}

TEST_F(SharedStoreTest, ShortcutsWithoutTitleOrWithABadLinkAreDroppedAndTheOrderKept)
{
    EXPECT_TRUE(store.loadShortcuts().isEmpty());
    const QJsonArray stored{
        shortcutJson("First", "track", TRACK_ID, 1),
        shortcutJson("", "album", ALBUM_ID, 2),
        shortcutJson("Bad id", "album", "tooShort", 3),
        shortcutJson("Bad kind", "episode", ALBUM_ID, 4),
        "not a shortcut",
        shortcutJson(" ", "album", ALBUM_ID, 5), // a blank title is not trimmed away
        shortcutJson("Last", "playlist", ALBUM_ID, 6),
    };
    put("shortcuts.json", json::serialize(stored));
    QStringList titles;
    for (const MusicShortcut &shortcut : store.loadShortcuts())
        titles.append(shortcut.title);
    EXPECT_EQ(titles, (QStringList{"First", " ", "Last"}));

    const QList<MusicShortcut> saved{
        MusicShortcut(QUuid::createUuid(), "B", *SpotifyLink::parse("spotify:album:" + ALBUM_ID)),
        MusicShortcut(QUuid::createUuid(), "A", *SpotifyLink::parse("spotify:track:" + TRACK_ID))};
    store.saveShortcuts(saved);
    EXPECT_EQ(store.loadShortcuts(), saved);
}

TEST_F(SharedStoreTest, VisualizerSettingsFallBackToTheDefaultsWhenTheFileDoesNotDecode)
{
    EXPECT_EQ(store.loadVisualizer(), VisualizerSettings());
    VisualizerSettings custom;
    custom.style = VisualizerStyle::orbit;
    custom.intensity = 0.4;
    custom.glow = false;
    store.saveVisualizer(custom);
    EXPECT_EQ(store.loadVisualizer(), custom);
    QJsonObject withoutGlow = custom.toJson().toObject();
    withoutGlow.remove("glow");
    put("visualizer.json", json::serialize(withoutGlow));
    EXPECT_EQ(store.loadVisualizer(), VisualizerSettings());
}

TEST_F(SharedStoreTest, TheSkinFileHoldsTheBareWordAndReadsLeniently)
{
    store.saveSkin(Skin::rivista);
    EXPECT_EQ(readFile(file("skin.txt")), "rivista");
    store.saveSkin(Skin::classico);
    EXPECT_EQ(readFile(file("skin.txt")), "classico");

    const std::vector<std::pair<std::optional<QByteArray>, Skin>> cases{
        {"rivista\n", Skin::rivista},
        {" \trivista\r\n", Skin::rivista},
        {"Rivista", Skin::classico},
        {"", Skin::classico},
        {"\xff\xfe", Skin::classico},
        {std::nullopt, Skin::classico},
    };
    for (const auto &[content, expected] : cases) {
        SCOPED_TRACE(content.value_or("<missing>").toStdString());
        QFile::remove(file("skin.txt"));
        if (content)
            put("skin.txt", *content);
        EXPECT_EQ(store.loadSkin(), expected);
    }
}

TEST_F(SharedStoreTest, ArtworkLocationsStayInsideTheDirectory)
{
    EXPECT_EQ(store.artworkURL("3f9a.jpg"), QUrl::fromLocalFile(store.directory + "/3f9a.jpg"));
    for (const std::optional<QString> &refused : std::vector<std::optional<QString>>{std::nullopt, "",
             "a/b.jpg", "/etc/x.jpg", "..x.jpg", "x..jpg", "x.JPG", "x.jpeg", "x.jpg.png"}) {
        SCOPED_TRACE(refused.value_or("<none>").toStdString());
        EXPECT_EQ(store.artworkURL(refused), std::nullopt);
    }
}

TEST_F(SharedStoreTest, ClearingPlaybackRemovesTheSnapshotAndArtworkOnly)
{
    store.clearPlayback(); // no directory yet: made, nothing to remove
    EXPECT_TRUE(entries().isEmpty());
    for (const char *name : {"playback.json", "a.jpg", ".cache.jpg", "b.JPG", "c.jpeg", "shortcuts.json",
             "visualizer.json", "skin.txt", "playback.json.bak", ".jpg"})
        put(name, "x");
    store.clearPlayback();
    EXPECT_EQ(entries(),
        (QStringList{".jpg", "b.JPG", "c.jpeg", "playback.json.bak", "shortcuts.json", "skin.txt",
            "visualizer.json"}));
}

TEST_F(SharedStoreTest, FailedWritesAreThrownAndLeaveTheOldFileWhole)
{
    VisualizerSettings good;
    store.saveVisualizer(good);
    const QByteArray before = readFile(file("visualizer.json"));
    VisualizerSettings broken;
    broken.intensity = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(store.saveVisualizer(broken), json::EncodingError);
    EXPECT_EQ(readFile(file("visualizer.json")), before);

    QDir().mkpath(file("playback.json")); // a folder where the file belongs
    EXPECT_THROW(store.saveSnapshot(playingSnapshot()), FileError);

    const SharedStore blocked(home.path("blocker"), home.path("support"));
    put("../../blocker", "a file, not a folder");
    EXPECT_THROW(blocked.saveSkin(Skin::rivista), FileError);
    EXPECT_THROW(blocked.clearPlayback(), FileError);
}

TEST_F(SharedStoreTest, WritesLeaveOnlyCompleteUserOnlyFiles)
{
    store.saveSnapshot(playingSnapshot());
    store.saveSkin(Skin::rivista);
    store.saveShortcuts({});
    store.saveVisualizer(VisualizerSettings());
    EXPECT_EQ(entries(), (QStringList{"playback.json", "shortcuts.json", "skin.txt", "visualizer.json"}));
    EXPECT_TRUE(isUserOnly(home.path("group")));
    EXPECT_TRUE(isUserOnly(store.directory));
    for (const QString &name : entries())
        EXPECT_TRUE(isUserOnly(file(name))) << name.toStdString();
}
