#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

class DashboardState;
class QQmlEngine;

// The one dashboard window: made once, hidden on close and shown again later
// in the same place with the same page and sheets. Its content lives as long
// as this object; the window around it does not. A window once shown keeps
// every picture its views drew (tens of MB with the software renderer) for
// as long as it exists, so closing moves the content into a fresh window that
// has never been shown and deletes the old one.
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

    // The window that shows the dashboard now, or will when it opens next.
    QQuickWindow *window() const { return m_window; }
    QQuickItem *content() const { return m_content; }

signals:
    void openDashboardRequested();
    void quitRequested();

private:
    // A window that was never shown, holding the content, in place of previous (if any).
    void makeWindow(const QQuickWindow *previous);
    void releaseClosedWindow(QQuickWindow *closed);

    QPointer<QQuickItem> m_content;
    QPointer<QQuickWindow> m_window;
};
