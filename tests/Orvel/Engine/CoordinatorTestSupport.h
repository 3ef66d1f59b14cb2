#pragma once

#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "ManualScheduler.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "QtPrinters.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "ScopedWallClock.h"
#include "ScriptedSpotify.h"
#include "Started.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

inline Track song(const QString &id, double duration = 200, std::optional<QUrl> artwork = std::nullopt)
{
    return Track(
        "spotify:track:" + id, "Title " + id, "Artist", "Album", duration, std::move(artwork), std::nullopt);
}

inline PlaybackSnapshot playing(const QString &id, bool isPlaying = true, double position = 10,
    double volume = 60, std::optional<QUrl> artwork = std::nullopt)
{
    return PlaybackSnapshot(PlayerAvailability::ready, song(id, 200, std::move(artwork)), isPlaying, position,
        volume, false, false, PlaybackCapabilities{true, true, true}, Date::now(), std::nullopt, std::nullopt,
        std::nullopt);
}

// Two strong colours, so the palette finds something.
inline QImage colourfulCover(int side = 64)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, x < side / 2 ? qRgb(220, 40, 40) : qRgb(40, 60, 220));
    return image;
}

// The coordinator with scripted Spotify, a fake workspace, a manual clock and
// real files in a temporary directory.
class CoordinatorTest : public ::testing::Test {
protected:
    CoordinatorTest()
    {
        workspace.spotifyPid = 4242;
        spotify->state = playing("a", false);
        make(container());
    }
    ~CoordinatorTest() override
    {
        if (coordinator) {
            coordinator->flush();
            clock.advance(60);
            coordinator.reset();
        }
        clock.runUntilIdle();
    }

    QString container() const { return dir.filePath("group"); }
    QString filesDirectory() const { return coordinator->store().directory; }
    QString snapshotPath() const { return filesDirectory() + "/playback.json"; }

    // The fixture's fakes, with another bridge or container where a test needs one.
    PlaybackCoordinator::Services services(std::shared_ptr<SpotifyControlling> bridge,
        std::optional<QString> containerDirectory, QNetworkAccessManager *network = nullptr)
    {
        PlaybackCoordinator::Services services;
        services.bridge = std::move(bridge);
        services.workspace = &workspace;
        services.store = SharedStore(containerDirectory, dir.filePath("support"));
        services.defaults = &defaults;
        services.scheduler = &clock;
        services.widgetCenter = &widgets;
        services.preferences = &preferences;
        services.announcer = &announcer;
        services.network = network;
        return services;
    }
    void make(std::optional<QString> containerDirectory, QNetworkAccessManager *network = nullptr)
    {
        coordinator = std::make_unique<PlaybackCoordinator>(services(spotify, containerDirectory, network));
    }

    // Starts a coroutine and runs the work it posted, without moving the clock.
    template<typename T>
    Started<StartedValue<T>> start(QCoro::Task<T> task)
    {
        auto started = ::start(std::move(task));
        clock.runUntilIdle();
        return started;
    }
    // Runs a coroutine to its end, moving the clock as far as its pauses need.
    template<typename T>
    auto run(QCoro::Task<T> task)
    {
        return ::run(clock, std::move(task));
    }

    PlaybackSnapshot stored() const { return coordinator->store().loadSnapshot(); }
    bool fileExists() const { return QFile::exists(snapshotPath()); }

    QTemporaryDir dir;
    ManualScheduler clock;
    ScopedWallClock wallClock{clock};
    std::shared_ptr<ScriptedSpotify> spotify = std::make_shared<ScriptedSpotify>(clock);
    FakeWorkspace workspace;
    Defaults defaults{dir.filePath("defaults.json")};
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    Defaults settings{dir.filePath("settings.json")};
    Preferences preferences{
        Preferences::Services{&settings, [this] { return SharedStore(container(), dir.filePath("support")); },
            &clock, &login, &widgets, [] { return false; }}};
    std::unique_ptr<PlaybackCoordinator> coordinator;
};
