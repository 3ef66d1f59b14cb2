#include "Localization.h"

#include <QApplication>
#include <QEvent>
#include <gtest/gtest.h>

namespace {
// Objects a test left for deferred deletion (views, scene-graph textures) go
// at its end: no event loop runs between tests to delete them.
class DeferredDeletes : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
} // namespace

// Every test program runs with the application the app itself makes (tooltips
// and menus need the widget one) on the offscreen platform, so tests of images,
// fonts and views behave as they do in the app without a display.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Tests read the words the app shows on Linux.
    installLinuxWording();
    ::testing::UnitTest::GetInstance()->listeners().Append(new DeferredDeletes);
    return RUN_ALL_TESTS();
}
