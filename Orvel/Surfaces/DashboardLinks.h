#pragma once

#include "DashboardState.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <optional>

// Opening the dashboard from a view: a request on the dashboard state the
// view's engine was given, which the delegate answers; nothing without one.
class DashboardLinks : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit DashboardLinks(DashboardState *state, QObject *parent = nullptr);

    static DashboardLinks *create(QQmlEngine *engine, QJSEngine *)
    {
        return new DashboardLinks(QmlOwners::lookup<DashboardState>(engine));
    }

    void open(DashboardSection section, std::optional<int> skillSlot = std::nullopt) const;

    Q_INVOKABLE void openShortcutsPage() const { open(DashboardSection::shortcuts); }
    // A section by its raw name.
    Q_INVOKABLE void openSection(const QString &section) const;
    Q_INVOKABLE void openSkillSlot(int slot) const { open(DashboardSection::shortcuts, slot); }

private:
    QPointer<DashboardState> m_state;
};
