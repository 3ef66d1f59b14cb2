#include "PrivateFiles.h"
#include "QtPrinters.h"
#include "SharedStore.h"
#include "TemporaryHome.h"

#include <QDir>
#include <QElapsedTimer>
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
    // Puts content in place by hand; nothing removes the file.
    void put(const QString &name, const std::optional<QByteArray> &content) const
    {
        QDir().mkpath(store.directory);
        QFile::remove(file(name));
        QFile f(file(name));
        if (content && f.open(QIODevice::WriteOnly))
            f.write(*content);
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
            std::nullopt),
        true, 12.5, 64, true, false, {true, true, false}, Date{786000000}, "cover.jpg", std::nullopt,
        std::nullopt);
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
    EXPECT_EQ(SharedStore::appGroupIdentifier(QJsonObject{{"OrvelAppGroup", 1}}),
        "QX7TR4LM2B.com.velbrandtoro.Orvel.shared");
    EXPECT_EQ(SharedStore::appGroupIdentifier(QJsonObject{{"OrvelAppGroup", "T.group"}}), "T.group");
}

TEST_F(SharedStoreTest, ReadersFallBackWhenAFileIsMissingOrDoesNotDecode)
{
    QJsonObject secondVersion = playingSnapshot().toJson().toObject();
    secondVersion["version"] = 2;
    for (const std::optional<QByteArray> &content : {std::optional<QByteArray>(),
             std::optional<QByteArray>("playing: yes"), std::optional(json::serialize(secondVersion))}) {
        put("playback.json", content);
        const PlaybackSnapshot snapshot = store.loadSnapshot();
        EXPECT_EQ(snapshot.availability, PlayerAvailability::unavailable);
        EXPECT_EQ(snapshot.volume, 50);
        EXPECT_EQ(snapshot.updatedAt, Date::distantPast());
        EXPECT_EQ(snapshot, SharedStore::placeholderSnapshot());
    }
    store.saveSnapshot(playingSnapshot());
    EXPECT_EQ(store.loadSnapshot(), playingSnapshot());

    EXPECT_EQ(store.loadVisualizer(), VisualizerSettings());
    VisualizerSettings custom;
    custom.style = VisualizerStyle::orbit;
    store.saveVisualizer(custom);
    EXPECT_EQ(store.loadVisualizer(), custom);
    QJsonObject withoutGlow = custom.toJson().toObject();
    withoutGlow.remove("glow");
    put("visualizer.json", json::serialize(withoutGlow));
    EXPECT_EQ(store.loadVisualizer(), VisualizerSettings());

    const std::vector<std::pair<std::optional<QByteArray>, Skin>> skins{{"rivista\n", Skin::rivista},
        {" rivista\r\n", Skin::rivista}, {"Rivista", Skin::classico}, {"", Skin::classico},
        {std::nullopt, Skin::classico}};
    for (const auto &[content, expected] : skins) {
        put("skin.txt", content);
        EXPECT_EQ(store.loadSkin(), expected) << content.value_or("<missing>").toStdString();
    }
    store.saveSkin(Skin::rivista);
    EXPECT_EQ(readFile(file("skin.txt")), "rivista");
    store.saveSkin(Skin::classico);
    EXPECT_EQ(readFile(file("skin.txt")), "classico");
}

TEST_F(SharedStoreTest, ShortcutsWithoutTitleOrWithABadLinkAreDroppedAndTheOrderKept)
{
    EXPECT_TRUE(store.loadShortcuts().isEmpty());
    auto stored = [](const QString &title, const QString &kind, const QString &id) {
        return QJsonObject{{"id", QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()},
            {"title", title}, {"link", QJsonObject{{"kind", kind}, {"id", id}}}};
    };
    put("shortcuts.json",
        json::serialize(QJsonArray{stored("First", "track", TRACK_ID), stored("", "album", ALBUM_ID),
            stored("Bad id", "album", "tooShort"), stored("Bad kind", "episode", ALBUM_ID), "not a shortcut",
            stored(" ", "album", ALBUM_ID), stored("Last", "playlist", ALBUM_ID)}));
    QStringList titles;
    for (const MusicShortcut &shortcut : store.loadShortcuts())
        titles.append(shortcut.title);
    EXPECT_EQ(titles, (QStringList{"First", " ", "Last"})); // a blank title is not trimmed away

    const QList<MusicShortcut> saved{
        MusicShortcut(QUuid::createUuid(), "B", *SpotifyLink::parse("spotify:album:" + ALBUM_ID)),
        MusicShortcut(QUuid::createUuid(), "A", *SpotifyLink::parse("spotify:track:" + TRACK_ID))};
    store.saveShortcuts(saved);
    EXPECT_EQ(store.loadShortcuts(), saved);
}

TEST_F(SharedStoreTest, ArtworkLocationsStayInsideTheDirectory)
{
    EXPECT_EQ(store.artworkURL("3f9a.jpg"), QUrl::fromLocalFile(store.directory + "/3f9a.jpg"));
    for (const std::optional<QString> &name : std::vector<std::optional<QString>>{
             std::nullopt, "", "a/b.jpg", "/etc/x.jpg", "..x.jpg", "x..jpg", "x.JPG", "x.jpeg", "x.jpg.png"})
        EXPECT_EQ(store.artworkURL(name), std::nullopt) << name.value_or("<none>").toStdString();
}

TEST_F(SharedStoreTest, ClearingPlaybackRemovesTheSnapshotAndArtworkOnly)
{
    store.clearPlayback(); // no folder yet: made, nothing to remove
    EXPECT_TRUE(entries().isEmpty());
    for (const char *name : {"playback.json", "a.jpg", ".cache.jpg", "b.JPG", "c.jpeg", "shortcuts.json",
             "visualizer.json", "skin.txt", "playback.json.bak", ".jpg"})
        put(name, "x");
    store.clearPlayback();
    EXPECT_EQ(entries(),
        (QStringList{".jpg", "b.JPG", "c.jpeg", "playback.json.bak", "shortcuts.json", "skin.txt",
            "visualizer.json"}));
}

TEST_F(SharedStoreTest, WritesAreWholeAndPrivateAndFailuresLeaveTheOldFile)
{
    store.saveSnapshot(playingSnapshot());
    store.saveShortcuts({});
    store.saveVisualizer(VisualizerSettings());
    EXPECT_EQ(entries(), (QStringList{"playback.json", "shortcuts.json", "visualizer.json"}));
    for (const QString &path : {home.path("group"), store.directory, file("playback.json")})
        EXPECT_TRUE(isUserOnly(path)) << path.toStdString();

    const QByteArray before = readFile(file("visualizer.json"));
    VisualizerSettings broken;
    broken.intensity = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(store.saveVisualizer(broken), json::EncodingError);
    EXPECT_EQ(readFile(file("visualizer.json")), before);

    QFile::remove(file("playback.json"));
    QDir().mkpath(file("playback.json")); // a folder where the file belongs
    EXPECT_THROW(store.saveSnapshot(playingSnapshot()), FileError);
    put("../../blocker", "a file, not a folder");
    const SharedStore blocked(home.path("blocker"), home.path("support"));
    EXPECT_THROW(blocked.saveSkin(Skin::rivista), FileError);
    EXPECT_THROW(blocked.clearPlayback(), FileError);
}

TEST_F(SharedStoreTest, AtStartFilesThatCannotBeUsedAreKeptAsideWhileTheReadersFallBack)
{
    const QByteArray newer = R"({"version":2,"availability":"ready"})";
    put("playback.json", newer);
    put("shortcuts.json", "[{\"id\":");
    put("visualizer.json", R"({"enabled":true,"style":"bars"})");
    put("skin.txt", "rivista\n");
    EXPECT_EQ(store.loadSnapshot().availability, PlayerAvailability::unavailable);
    EXPECT_TRUE(store.loadShortcuts().isEmpty());

    store.keepUnreadable();
    EXPECT_EQ(entries(),
        (QStringList{"playback.json.unreadable", "shortcuts.json.unreadable", "skin.txt",
            "visualizer.json.unreadable"}));
    EXPECT_EQ(readFile(file("playback.json.unreadable")), newer);
    EXPECT_EQ(readFile(file("shortcuts.json.unreadable")), "[{\"id\":");
    store.saveShortcuts({});
    EXPECT_EQ(readFile(file("shortcuts.json.unreadable")), "[{\"id\":");

    // A newer version, or one that is not a whole number, is not ours to replace; an older one is.
    const auto snapshotOfVersion = [](const QByteArray &version) {
        QByteArray data = json::encodeData(playingSnapshot());
        data.replace("\"version\":1", "\"version\":" + version);
        return data;
    };
    for (const QByteArray &version :
        {QByteArray("2"), QByteArray("1.5"), QByteArray("\"1\""), QByteArray("1e10")}) {
        SCOPED_TRACE(version.toStdString());
        put("playback.json", snapshotOfVersion(version));
        store.keepUnreadable();
        EXPECT_FALSE(QFileInfo::exists(file("playback.json")));
    }
    put("playback.json", snapshotOfVersion("0"));
    store.keepUnreadable();
    EXPECT_TRUE(QFileInfo::exists(file("playback.json")));
    store.saveSnapshot(playingSnapshot());
    const QByteArray current = readFile(file("playback.json"));
    store.keepUnreadable();
    EXPECT_EQ(readFile(file("playback.json")), current);
}

TEST_F(SharedStoreTest, ReadersRefuseDevicesAndOversizeArtworkAtOnce)
{
    QDir().mkpath(store.directory);
    for (const char *name : {"playback.json", "shortcuts.json", "visualizer.json", "skin.txt", "cover.jpg"})
        ASSERT_TRUE(QFile::link("/dev/zero", file(name)));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(store.loadSnapshot().availability, PlayerAvailability::unavailable);
    EXPECT_TRUE(store.loadShortcuts().isEmpty());
    EXPECT_EQ(store.loadSkin(), Skin::classico);
    EXPECT_EQ(store.loadArtwork("cover.jpg"), std::nullopt);
    EXPECT_LT(clock.elapsed(), 1000);

    put("cover.jpg", QByteArray(SharedStore::artworkFileLimit + 1, 'j'));
    EXPECT_EQ(store.loadArtwork("cover.jpg"), std::nullopt);
    put("cover.jpg", "jpeg bytes");
    EXPECT_EQ(store.loadArtwork("cover.jpg"), QByteArray("jpeg bytes"));
    EXPECT_EQ(store.loadArtwork("../cover.jpg"), std::nullopt);
}
