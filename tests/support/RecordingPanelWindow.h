#pragma once

#include "PanelWindow.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// A panel window that only writes down what it is told, for running the
// panels' rules on a manual clock; tests play the pointer and the keys.
class RecordingPanelWindow final : public PanelWindow {
public:
    using PanelWindow::PanelWindow;

    // Every frame shown, animation steps included.
    QList<Rect> frames;
    int levelWrites = 0;
    // "front", "out", "close", "resign" (gave the keyboard back), in order.
    QStringList ordering;

    void enter()
    {
        if (pointerChanged)
            pointerChanged(true);
    }
    void leave()
    {
        if (pointerChanged)
            pointerChanged(false);
    }
    void pressEscape()
    {
        if (escape)
            escape();
    }
    // A full-screen window takes the display (or gives it back), and the pointer's crossings with it.
    void keepAway(bool away)
    {
        setKeptAway(away);
        crossings();
    }
    // Another program's window comes over this one (or goes): the pointer there is on that window.
    void cover(bool covered)
    {
        m_covered = covered;
        crossings();
    }

    // When set, the window sees this pointer as an X server shows it: a frame
    // change, showing or hiding that takes the window from under the pointer or
    // brings it there is a crossing, and so is a move (none while kept away or covered); each is reported on
    // a later turn of the event loop, as events arrive.
    Point *pointer = nullptr;
    // When set, where the screens say the pointer is, as XWayland knows it:
    // it follows the pointer only while the pointer is over the window.
    Point *seen = nullptr;
    // A frame change that keeps the pointer on the window is told as a leave
    // and an entry all the same, as X does when it cuts the resized window's shape anew.
    bool recrossesOnFrames = false;
    void movePointer(Point to)
    {
        *pointer = to;
        crossings();
        if (m_under)
            post([this] {
                if (pointerMoved)
                    pointerMoved();
            });
    }

protected:
    void applyFrame(const Rect &frame) override
    {
        const bool changed = frames.isEmpty() || frames.back() != frame;
        frames.append(frame);
        const bool wasUnder = m_under;
        crossings();
        if (!recrossesOnFrames || !changed || !wasUnder || !m_under)
            return;
        for (const bool under : {false, true})
            post([this, under] {
                if (pointerChanged)
                    pointerChanged(under);
            });
    }
    void applyLevel(int) override { ++levelWrites; }
    void applyCollectionBehavior(std::uint64_t) override { }
    void applyTitle(const QString &) override { }
    void applyShadow(bool) override { }
    void applyIgnoresMouseEvents(bool) override { }
    void applyVisible(bool visible) override
    {
        ordering.append(visible ? "front" : "out");
        crossings();
    }
    void applyClose() override
    {
        ordering.append("close");
        crossings();
    }
    void applyResignKey() override { ordering.append("resign"); }

private:
    void crossings()
    {
        const bool under = pointer && isOnScreen() && !m_covered && frame().contains(*pointer);
        if (under && seen)
            *seen = *pointer;
        if (under == m_under)
            return;
        m_under = under;
        post([this, under] {
            if (pointerChanged)
                pointerChanged(under);
        });
    }
    template<class Work>
    void post(Work work)
    {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [alive = std::weak_ptr<int>(m_alive), work] {
                if (alive.lock())
                    work();
            },
            Qt::QueuedConnection);
    }

    bool m_under = false;
    bool m_covered = false;
    std::shared_ptr<int> m_alive = std::make_shared<int>();
};
