#pragma once

#include "PlaybackCommand.h"
#include "ScrubberState.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include "PlaybackCoordinator.h"

// What the position and volume bars share: a scrubber over the coordinator's
// snapshot whose commit sends one command and waits for it, and the owner's
// `hold`, told exactly when the scrubber's edit begins and ends.
class PlaybackScrubberModel : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(
        PlaybackCoordinator *coordinator READ coordinator WRITE setCoordinator NOTIFY coordinatorChanged)
    Q_PROPERTY(ScrubberState *scrubber READ scrubber CONSTANT)
    // The value being edited, null when no edit is under way.
    Q_PROPERTY(QVariant scrub READ scrubValue NOTIFY changed)

public:
    PlaybackCoordinator *coordinator() const { return m_coordinator; }
    void setCoordinator(PlaybackCoordinator *coordinator);
    ScrubberState *scrubber() { return &m_scrubber; }
    const std::optional<double> &scrub() const { return m_scrubber.draft(); }
    QVariant scrubValue() const { return m_scrubber.draftValue(); }

signals:
    void coordinatorChanged();
    void changed();
    // Begins (true) and ends (false) with the scrubber's edit.
    void hold(bool editing);

protected:
    explicit PlaybackScrubberModel(QObject *parent);
    // The snapshot shown: the coordinator's, or an unavailable one without it.
    const PlaybackSnapshot &snapshot() const;
    // The command for a committed value.
    virtual PlaybackCommand command(double value) const = 0;
    // Reads the snapshot again and hands the scrubber its inputs.
    virtual void refresh() = 0;

    ScrubberState m_scrubber;

private:
    QPointer<PlaybackCoordinator> m_coordinator;
    QMetaObject::Connection m_published;
};
