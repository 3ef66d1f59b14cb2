#pragma once

#include <QObject>

// Tells when a menu of the app opens and when it closes (context menus, the
// tray's menu, submenus each count), so a panel can stay open while one is
// tracking. One filter on the application sees every QMenu.
class MenuTracker : public QObject {
    Q_OBJECT
public:
    explicit MenuTracker(QObject *parent = nullptr);
    ~MenuTracker() override;

signals:
    void began();
    void ended();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
