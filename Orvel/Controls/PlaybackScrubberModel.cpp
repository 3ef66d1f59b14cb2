#include "PlaybackScrubberModel.h"

#include "PlaybackCoordinator.h"

namespace {
// Sends the command and waits until the coordinator has confirmed it (or
// refused it); the result is the coordinator's business.
QCoro::Task<void> performOn(QPointer<PlaybackCoordinator> coordinator, PlaybackCommand command)
{
    if (coordinator)
        co_await coordinator->perform(std::move(command));
}
} // namespace

PlaybackScrubberModel::PlaybackScrubberModel(QObject *parent)
    : QObject(parent)
{
    m_scrubber.setOnCommit([this](double value) { return performOn(m_coordinator, command(value)); });
    connect(&m_scrubber, &ScrubberState::editingChanged, this, &PlaybackScrubberModel::hold);
    connect(&m_scrubber, &ScrubberState::draftChanged, this, &PlaybackScrubberModel::changed);
}

void PlaybackScrubberModel::setCoordinator(PlaybackCoordinator *coordinator)
{
    if (coordinator == m_coordinator)
        return;
    disconnect(m_published);
    m_coordinator = coordinator;
    if (coordinator)
        m_published
            = connect(coordinator, &PlaybackCoordinator::snapshotChanged, this, [this] { refresh(); });
    emit coordinatorChanged();
    refresh();
}

const PlaybackSnapshot &PlaybackScrubberModel::snapshot() const
{
    static const PlaybackSnapshot none;
    return m_coordinator ? m_coordinator->snapshot() : none;
}
