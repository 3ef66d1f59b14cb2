#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>

class DashboardState;
class QQmlEngine;

// The one dashboard window: made once, hidden on close and shown again later.
// Its content is a placeholder until the dashboard's views exist.
class DashboardWindow : public QObject {
    Q_OBJECT
public:
    static constexpr int width = 960;
    static constexpr int height = 750;
    static constexpr int minimumWidth = 860;
    static constexpr int minimumHeight = 650;

    // engine: the app's one engine, with its modules and owners in place.
    DashboardWindow(QQmlEngine &engine, DashboardState &state, QObject *parent = nullptr);
    ~DashboardWindow() override;

    // Centred on the primary screen; only done when the window is made.
    void center();
    // Shows the window in front and asks for the keyboard focus.
    void bringToFront();

    QQuickWindow *window() const { return m_window; }

signals:
    void openDashboardRequested();
    void quitRequested();

private:
    QPointer<QQuickWindow> m_window;
};
