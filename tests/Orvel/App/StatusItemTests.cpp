#include "Assets.h"
#include "ScopedIconTheme.h"
#include "StatusItem.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The tray's image reaches the panel by its name in the icon theme, where the
// installed tree puts it.
namespace {
// The theme's own definition, as the desktop's hicolor package ships it.
void defineHicolor(const QString &icons)
{
    QDir().mkpath(icons + "/hicolor");
    QFile index(icons + "/hicolor/index.theme");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Hicolor\nDirectories=scalable/apps,scalable/status\n\n"
                "[scalable/apps]\nSize=48\nType=Scalable\nMinSize=1\nMaxSize=512\n\n"
                "[scalable/status]\nSize=16\nType=Scalable\nMinSize=1\nMaxSize=512\n");
}
} // namespace

TEST(StatusItemIcon, TheInstalledTreeHoldsTheImagesAndTheTrayAndWindowsTakeThemByName)
{
    QTemporaryDir prefix, system;
    QProcess install;
    install.start(QStringLiteral(ORVEL_CMAKE_COMMAND),
        {"--install", ORVEL_BINARY_DIR, "--component", "icons", "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    const QString installed
        = prefix.filePath("share/icons/hicolor/scalable/status/" + StatusItem::iconName + ".svg");
    EXPECT_TRUE(StatusItem::iconName.endsWith(QLatin1String("-symbolic")));
    EXPECT_TRUE(QSvgRenderer(installed).isValid()) << installed.toStdString();
    // Beside it the app's own icon, under the name the desktop entry gives.
    EXPECT_TRUE(QSvgRenderer(prefix.filePath("share/icons/hicolor/scalable/apps/com.velbrandtoro.Orvel.svg"))
                    .isValid());

    defineHicolor(system.path());
    struct Row {
        QStringList themes;
        QString name; // the name the tray hands on
        QString windowIconName; // the one the windows carry; none for the bundled picture
    };
    for (const Row &row :
        {Row{{prefix.filePath("share/icons"), system.path()}, StatusItem::iconName, "com.velbrandtoro.Orvel"},
            Row{{system.path()}, QString(), QString()}}) {
        SCOPED_TRACE(row.themes.join(' ').toStdString());
        const ScopedIconTheme theme(row.themes);
        const QIcon icon = StatusItem::trayIcon();
        EXPECT_EQ(icon.name(), row.name);
        EXPECT_FALSE(icon.pixmap(22).isNull());
        const QIcon windowIcon = Assets::applicationIcon();
        EXPECT_EQ(windowIcon.name(), row.windowIconName);
        EXPECT_FALSE(windowIcon.pixmap(48).isNull());
    }
}
