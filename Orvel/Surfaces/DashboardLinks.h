#pragma once

#include "DashboardState.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <optional>

// Opening the dashboard from a view: through the running app delegate,
// nothing without one.
void openShortcutsPage();
void openDashboardSection(DashboardSection section);
void openSkillSlot(int slot);

// The same for QML; sections by their raw names.
class DashboardLinks : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE void openShortcutsPage() const { ::openShortcutsPage(); }
    Q_INVOKABLE void openSection(const QString &section) const;
    Q_INVOKABLE void openSkillSlot(int slot) const { ::openSkillSlot(slot); }
};
