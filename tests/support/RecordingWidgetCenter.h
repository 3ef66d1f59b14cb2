#pragma once

#include "WidgetCenter.h"

#include <QString>
#include <QStringList>

// Keeps the requested reloads instead of sending them: "" for all kinds.
class RecordingWidgetCenter final : public WidgetCenter {
public:
    void reloadTimelines(const QString &kind) override { reloads.append(kind); }
    void reloadAllTimelines() override { reloads.append(QString()); }
    QStringList reloads;
};
