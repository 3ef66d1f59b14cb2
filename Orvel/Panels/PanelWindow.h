#pragma once

#include "Geometry.h"
#include "Scheduler.h"

#include <QString>
#include <cstdint>
#include <functional>

// The window a floating panel drives: its frame in y-up points (set at once
// or animated), level, collection behaviour, title, shadow, whether clicks
// pass through, and whether it is on screen. The state lives here; the
// subclass puts it on screen (FloatingPanel) or records it (tests).
class PanelWindow {
public:
    // Floating, above ordinary windows.
    static constexpr int floatingLevel = 3;
    // Steps per second of an animated frame.
    static constexpr double animationRate = 60;

    explicit PanelWindow(Scheduler &scheduler);
    virtual ~PanelWindow();
    PanelWindow(const PanelWindow &) = delete;
    PanelWindow &operator=(const PanelWindow &) = delete;

    // The frame on screen now (mid-animation: the step last shown).
    Rect frame() const { return m_frame; }
    // The window takes the pointer at this point: inside its frame and, where
    // it is cut to the shape it draws, inside that shape.
    bool covers(Point point) const { return m_frame.contains(point) && drawnAt(point); }
    // Sets the frame at once; an animation in flight stops where it is.
    void setFrame(const Rect &frame);
    // Moves to the frame over `seconds`, eased in and out, from the frame shown now.
    void animateFrame(const Rect &frame, double seconds);
    bool isAnimating() const { return m_animation.isValid() && !m_animation.isFinished(); }
    // How many times the frame shown has changed, animation steps included.
    std::uint64_t frameChanges() const { return m_frameChanges; }

    int level() const { return m_level; }
    void setLevel(int level);
    std::uint64_t collectionBehavior() const { return m_collectionBehavior; }
    void setCollectionBehavior(std::uint64_t behavior);
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    bool hasShadow() const { return m_hasShadow; }
    void setHasShadow(bool shadow);
    bool ignoresMouseEvents() const { return m_ignoresMouseEvents; }
    void setIgnoresMouseEvents(bool ignores);

    // On screen in front of other windows, without taking the focus.
    void orderFront();
    void orderOut();
    bool isVisible() const { return m_visible; }
    // Ordered front and not kept off its display by a full-screen window: one can see it.
    bool isOnScreen() const { return m_visible && !m_keptAway; }
    // Gives the keyboard back if the window holds it (a folded panel takes no keys).
    void resignKey() { applyResignKey(); }
    // Off screen for good.
    void close();
    bool isClosed() const { return m_closed; }

    // The pointer entered (true) or left (false) the window, by moving or by the window moving.
    std::function<void(bool)> pointerChanged;
    // The pointer moved over the window.
    std::function<void()> pointerMoved;
    // Escape reached the window without a view taking it.
    std::function<void()> escape;
    // isOnScreen() changed while the order stayed.
    std::function<void()> onScreenChanged;

    // The ease-in-out curve (0.42, 0, 0.58, 1) at a progress of 0 … 1.
    static double eased(double progress);
    // The frame `progress` of the way from one frame to another.
    static Rect interpolated(const Rect &from, const Rect &to, double progress);

protected:
    virtual void applyFrame(const Rect &frame) = 0;
    virtual void applyLevel(int level) = 0;
    virtual void applyCollectionBehavior(std::uint64_t behavior) = 0;
    virtual void applyTitle(const QString &title) = 0;
    virtual void applyShadow(bool shadow) = 0;
    virtual void applyIgnoresMouseEvents(bool ignores) = 0;
    virtual void applyVisible(bool visible) = 0;
    virtual void applyClose() = 0;
    virtual void applyResignKey() { }
    // Whether a point of the frame is part of the window as cut; uncut windows are whole.
    virtual bool drawnAt(Point) const { return true; }
    // The desktop keeps the window away (or lets it back) whatever its order.
    void setKeptAway(bool keptAway);

private:
    QCoro::Task<void> runAnimation(Rect from, Rect to, double seconds, TaskHandle self);
    void present(const Rect &frame);
    void stopAnimation();

    Scheduler &m_scheduler;
    Rect m_frame;
    std::uint64_t m_frameChanges = 0;
    int m_level = 0;
    std::uint64_t m_collectionBehavior = 0;
    QString m_title;
    bool m_hasShadow = false;
    bool m_ignoresMouseEvents = false;
    bool m_visible = false;
    bool m_keptAway = false;
    bool m_closed = false;
    TaskHandle m_animation;
};
