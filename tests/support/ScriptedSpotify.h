#pragma once

#include "PlaybackCommand.h"
#include "Scheduler.h"

#include <QList>
#include <deque>
#include <functional>
#include <optional>

// A Spotify connection whose answers a test scripts. Each call may take
// `latency` seconds on the test's manual clock, so a test can act while
// Spotify is "answering".
class ScriptedSpotify final : public SpotifyControlling {
public:
    explicit ScriptedSpotify(Scheduler &scheduler)
        : m_scheduler(scheduler)
    {
    }

    // What a read returns: queued answers first, then `state`.
    PlaybackSnapshot state;
    std::deque<PlaybackSnapshot> readQueue;
    std::optional<SpotifyFailure> readFailure;
    // What a command returns: by default `state` after `onCommand` changed it.
    std::function<void(const PlaybackCommand &, PlaybackSnapshot &)> onCommand;
    std::optional<SpotifyFailure> commandFailure;
    qint32 permissionStatus = 0;
    double latency = 0;

    int reads = 0;
    QList<PlaybackCommand> commands;
    std::vector<bool> permissionAsks;
    QList<double> readTimes;

    QCoro::Task<PlaybackSnapshot> readState(qint32) override
    {
        ++reads;
        readTimes.append(m_scheduler.now());
        co_await answerDelay();
        if (readFailure)
            throw SpotifyError(*readFailure);
        if (!readQueue.empty()) {
            PlaybackSnapshot next = readQueue.front();
            readQueue.pop_front();
            co_return next;
        }
        PlaybackSnapshot answer = state; // co_return would move from the member
        co_return answer;
    }

    QCoro::Task<PlaybackSnapshot> perform(PlaybackCommand command, qint32) override
    {
        commands.append(command);
        co_await answerDelay();
        if (commandFailure)
            throw SpotifyError(*commandFailure);
        if (onCommand)
            onCommand(command, state);
        PlaybackSnapshot answer = state;
        co_return answer;
    }

    QCoro::Task<qint32> permission(qint32, bool ask) override
    {
        permissionAsks.push_back(ask);
        co_return permissionStatus;
    }

    // What the question put again answers (nothing: dismissed); an answer is
    // the permission from then on.
    std::optional<bool> reconsidered;
    int asksAgain = 0;

    QCoro::Task<std::optional<bool>> askPermissionAgain() override
    {
        ++asksAgain;
        if (reconsidered)
            permissionStatus = *reconsidered ? 0 : -1743;
        co_return reconsidered;
    }

private:
    QCoro::Task<void> answerDelay()
    {
        if (latency > 0)
            co_await m_scheduler.sleep(latency);
    }

    Scheduler &m_scheduler;
};
