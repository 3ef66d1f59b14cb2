#pragma once

#include "Announcer.h"

#include <QString>
#include <QStringList>

// Keeps the announcements instead of speaking them.
class RecordingAnnouncer final : public Announcer {
public:
    void announce(const QString &text) override { announcements.append(text); }
    QStringList announcements;
};
