#pragma once

#include "Desktop.h"
#include "PanelWindow.h"

#include <QByteArray>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QVariantMap>
#include <memory>

class QQmlEngine;
class Screens;

// The Qt window of a floating panel, hosting its QML view. It reports the
// pointer entering, moving and leaving and an Escape no view took, and becomes the
// key window when pressed (so the header's keys arrive); losing the focus
// makes it refuse the focus again, so showing or hovering it never steals it.
class PanelHostingView final : public QQuickWindow {
public:
    PanelHostingView();

    std::function<void(bool)> pointerChanged;
    std::function<void()> pointerMoved;
    std::function<void()> escape;
    // A press is about to take the keyboard.
    std::function<void()> takingFocus;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// A panel on screen: a frameless, transparent window that stays on top and
// takes no focus until pressed. Levels all mean stay-on-top here. On X11 the
// window is out of the window manager's hands (every workspace, kept through
// "show desktop", in no task bar or switcher); the collection behaviour
// decides whether it stays off a display whose topmost normal window is full
// screen or above that window. It is raised only when it comes on screen and
// when a managed window has been stacked above it, and a press that took the
// keyboard gives it back when the panel folds or goes.
class FloatingPanel final : public PanelWindow {
public:
    static constexpr Qt::WindowFlags baseFlags
        = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    // The collection behaviour's flag for "never beside a full-screen window".
    static constexpr std::uint64_t fullScreenNone = 1 << 9;

    // `qml` is the view's source, as text importing its modules; `properties`
    // are its initial ones. The panel is off screen until orderFront().
    FloatingPanel(Screens &screens, Desktop &desktop, Scheduler &scheduler, QQmlEngine &engine,
        const QByteArray &qml, const QVariantMap &properties = {});
    ~FloatingPanel() override;

    PanelHostingView &window() const { return *m_window; }
    QQuickItem *content() const { return m_content; }
    // What went wrong making the view; empty when it was made.
    QString contentErrors() const { return m_contentErrors; }

protected:
    void applyFrame(const Rect &frame) override;
    void applyLevel(int level) override;
    void applyCollectionBehavior(std::uint64_t behavior) override;
    void applyTitle(const QString &title) override;
    void applyShadow(bool shadow) override;
    void applyIgnoresMouseEvents(bool ignores) override;
    void applyVisible(bool visible) override;
    void applyClose() override;
    void applyResignKey() override;
    bool drawnAt(Point point) const override;

private:
    // Puts the window on screen or takes it off, as ordered and as a full-screen window allows.
    void showAsAllowed();
    bool keptAwayByFullScreen() const;
    void keepAboveManagedWindows();

    Screens &m_screens;
    Desktop &m_desktop;
    // Who had the keyboard before a press took it.
    Desktop::WindowId m_focusBefore = 0;
    std::uint64_t m_behavior = 0;
    std::unique_ptr<PanelHostingView> m_window;
    QPointer<QQuickItem> m_content;
    QString m_contentErrors;
};
