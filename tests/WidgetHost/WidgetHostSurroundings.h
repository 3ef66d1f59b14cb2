#pragma once

// What a widget host's tests start from: a private bus, the app's files as
// it writes them, the host's clock run by hand and a fixed wall clock.

#include "ManualScheduler.h"
#include "WidgetFixtures.h"
#include "WidgetHost.h"
#include "fixtures/FakeSpotify.h"

#include <gtest/gtest.h>
#include <memory>

struct WidgetHostSurroundings {
    // A host of the widgets' plug-in that opens no link; null where the plug-in does not load.
    std::unique_ptr<WidgetHost> hostOfThePlugin()
    {
        QString error;
        WidgetBundle *bundle = WidgetPluginLoader::load({ORVEL_WIDGETS_PLUGIN}, &error);
        EXPECT_TRUE(bundle) << error.toStdString();
        if (!bundle)
            return nullptr;
        return std::make_unique<WidgetHost>(
            bundle->body(), WidgetHost::Services{clock, bus.connection(), [](const QUrl &) {}, false, {}});
    }

    PrivateBus bus;
    AppGroupFixture group;
    ManualScheduler clock;
    ScopedWallClock wall{fixtures::writtenAt};
};
