#include "QmlHarness.h"

#include <QColor>
#include <gtest/gtest.h>

TEST(QmlHarness, BlankMeansEveryPixelTheSame)
{
    EXPECT_TRUE(QmlHarness::isBlank(QImage()));
    QImage image(8, 6, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    EXPECT_TRUE(QmlHarness::isBlank(image));
    image.fill(QColor(10, 20, 30));
    EXPECT_TRUE(QmlHarness::isBlank(image));
    image.setPixelColor(7, 5, QColor(10, 20, 31));
    EXPECT_FALSE(QmlHarness::isBlank(image));
}

TEST(QmlHarness, ViewsTakeTheirImplicitSizeOrTheOneGivenAndRender)
{
    QmlHarness harness;
    const char *qml = R"(
        import QtQuick
        Rectangle {
            property color fill: "red"
            implicitWidth: 40; implicitHeight: 30
            color: "black"
            Rectangle { width: 10; height: 10; color: parent.fill }
        })";
    const auto view = harness.view(qml, {{"fill", QColor(Qt::green)}});
    ASSERT_TRUE(view) << harness.errors().toStdString();
    const QImage image = view->grab();
    EXPECT_EQ(image.size(), QSize(40, 30));
    EXPECT_FALSE(QmlHarness::isBlank(image));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(30, 20), QColor(Qt::black));

    EXPECT_EQ(harness.view(qml, {}, QSize(64, 48))->grab().size(), QSize(64, 48));
    EXPECT_TRUE(QmlHarness::isBlank(harness.view("import QtQuick\nItem { width: 20; height: 20 }")->grab()));
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();

    EXPECT_FALSE(harness.view("import QtQuick\nNoSuchType {}"));
    EXPECT_TRUE(harness.errors().contains("NoSuchType"));
}

TEST(QmlHarness, CollectsWarningsFromBindingsScriptsAndQmlTypes)
{
    QmlHarness harness;
    const auto object = harness.create(R"(
        import QtQuick
        Item {
            width: undefinedName + 1
            Component.onCompleted: console.warn("from a script")
            Image { source: "qrc:/missing.png" }
        })");
    ASSERT_TRUE(object);
    const QString warnings = harness.warnings().join('\n');
    EXPECT_TRUE(warnings.contains("undefinedName")) << warnings.toStdString();
    EXPECT_TRUE(warnings.contains("from a script")) << warnings.toStdString();
    EXPECT_TRUE(warnings.contains("missing.png")) << warnings.toStdString();

    harness.clearWarnings();
    EXPECT_TRUE(harness.warnings().isEmpty());
}
