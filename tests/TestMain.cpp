#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with the application the app itself makes (tooltips
// and menus need the widget one) on the offscreen platform, so tests of images,
// fonts and views behave as they do in the app without a display.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
