#pragma once

#include "AppRootFakes.h"
#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Screens.h"
#include "SurfaceWindow.h"
#include "X11Desktop.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The app's own panels on a real X display, its clock run by hand in small
// steps between which Qt handles what the X server sends.
class PanelsOnScreen : protected AppRootFakes {
protected:
    // The app with Spotify running, its setup done and its panels on screen (exposed, maybe not drawn yet).
    void startPanels()
    {
        workspace.spotifyPid = 4242;
        AppRoot::Outside parts = outside(nullptr, &screens);
        parts.desktop = X11Desktop::instance();
        root = std::make_unique<AppRoot>(parts);
        root->preferences().completeSetup();
        root->panels().start();
        clock.advance(1);
        ASSERT_EQ(root->panels().surfaces().size(), 1u);
        for (QWindow *window : {&player().window(), &sidebar().window()})
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    // Closes the panels and lets the app's last work run.
    void stopPanels()
    {
        if (!root)
            return;
        root->panels().stop();
        root->coordinator().flush();
        clock.advance(60);
    }
    FloatingPanel &panel(int index) const { return dynamic_cast<FloatingPanel &>(surface(index).panel()); }
    SurfaceWindow &surface(int index) const { return *root->panels().surfaces().begin()->second.at(index); }
    FloatingPanel &player() const { return panel(0); }
    FloatingPanel &sidebar() const { return panel(1); }
    PanelModel &playerModel() const { return surface(0).model(); }
    PanelModel &sidebarModel() const { return surface(1).model(); }
    // Lets `seconds` pass on the app's clock in small steps, handling what the X server sends between them.
    void rest(double seconds)
    {
        for (double passed = 0; passed < seconds; passed += 0.05) {
            clock.advance(0.05);
            QTest::qWait(5);
        }
    }
    // Lets the app's clock run, as rest() does, until the condition holds or ten seconds have passed on it.
    template<class Condition>
    bool restUntil(Condition condition)
    {
        for (double passed = 0; passed < 10 && !condition(); passed += 0.05)
            rest(0.05);
        return condition();
    }

    SystemScreens screens;
    std::unique_ptr<AppRoot> root;
};
