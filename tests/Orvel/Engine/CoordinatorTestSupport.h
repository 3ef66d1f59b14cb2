#pragma once

#include "Defaults.h"
#include "FakeWorkspace.h"
#include "ManualScheduler.h"
#include "PlaybackCoordinator.h"
#include "QtPrinters.h"
#include "RecordingWidgetCenter.h"
#include "ScriptedSpotify.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A coroutine started by a test and the value it gave once it has ended.
template<typename T>
struct Started {
    std::shared_ptr<std::optional<T>> value = std::make_shared<std::optional<T>>();
    bool done() const { return value->has_value(); }
    const T &get() const { return **value; }
};

template<typename T>
QCoro::Task<void> keep(QCoro::Task<T> task, std::shared_ptr<std::optional<T>> into)
{
    *into = co_await std::move(task);
}

inline QCoro::Task<void> keepVoid(QCoro::Task<void> task, std::shared_ptr<std::optional<bool>> into)
{
    co_await std::move(task);
    *into = true;
}

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
        Date::setNowProvider([this] { return Date{clock.now()}; });
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
        Date::setNowProvider({});
    }

    QString container() const { return dir.filePath("group"); }
    QString filesDirectory() const { return coordinator->store().directory; }
    QString snapshotPath() const { return filesDirectory() + "/playback.json"; }

    void make(std::optional<QString> containerDirectory, QNetworkAccessManager *network = nullptr)
    {
        PlaybackCoordinator::Services services;
        services.bridge = spotify;
        services.workspace = &workspace;
        services.store = SharedStore(containerDirectory, dir.filePath("support"));
        services.defaults = &defaults;
        services.scheduler = &clock;
        services.widgetCenter = &widgets;
        services.network = network;
        coordinator = std::make_unique<PlaybackCoordinator>(std::move(services));
    }

    template<typename T>
    Started<T> start(QCoro::Task<T> task)
    {
        Started<T> started;
        keep(std::move(task), started.value);
        clock.runUntilIdle();
        return started;
    }
    Started<bool> start(QCoro::Task<void> task)
    {
        Started<bool> started;
        keepVoid(std::move(task), started.value);
        clock.runUntilIdle();
        return started;
    }
    // Runs a coroutine to its end, moving the clock as far as its pauses need.
    template<typename T>
    auto run(QCoro::Task<T> task)
    {
        auto started = start(std::move(task));
        for (int step = 0; step < 200 && !started.done(); ++step)
            clock.advance(0.1);
        EXPECT_TRUE(started.done());
        if constexpr (std::is_void_v<T>)
            return;
        else
            return started.get();
    }

    PlaybackSnapshot stored() const { return coordinator->store().loadSnapshot(); }
    bool fileExists() const { return QFile::exists(snapshotPath()); }

    QTemporaryDir dir;
    ManualScheduler clock;
    std::shared_ptr<ScriptedSpotify> spotify = std::make_shared<ScriptedSpotify>(clock);
    FakeWorkspace workspace;
    Defaults defaults{dir.filePath("defaults.json")};
    RecordingWidgetCenter widgets;
    std::unique_ptr<PlaybackCoordinator> coordinator;
};
