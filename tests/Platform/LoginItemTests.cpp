#include "LoginItem.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"

#include <gtest/gtest.h>

using Status = LoginItem::Status;

TEST(AutostartLoginItem, RegisteringWritesAnEntryAndUnregisteringRemovesIt)
{
    TemporaryHome home;
    const QString path = AutostartLoginItem::standardFilePath();
    EXPECT_EQ(path, home.configHome() + "/autostart/com.velbrandtoro.Orvel.desktop");
    AutostartLoginItem item(path, "/opt/orvel/bin/orvel");
    EXPECT_EQ(item.status(), Status::notRegistered);
    item.registerItem();
    item.registerItem();
    EXPECT_EQ(item.status(), Status::enabled);
    EXPECT_TRUE(readFile(path).contains("\nExec=\"/opt/orvel/bin/orvel\"\n"));
    item.unregisterItem();
    EXPECT_EQ(item.status(), Status::notRegistered);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_NO_THROW(item.unregisterItem());

    // Entries the user switched off in the desktop's settings do not count.
    const std::vector<std::pair<QByteArray, Status>> cases{
        {"[Desktop Entry]\nExec=orvel\nHidden=true\n", Status::notRegistered},
        {"[Desktop Entry]\nExec=orvel\nX-GNOME-Autostart-enabled=false\n", Status::notRegistered},
        {"[Desktop Entry]\nExec=orvel\nHidden=false\n", Status::enabled},
        {"[Desktop Entry]\nExec=orvel\n[Desktop Action x]\nHidden=true\n", Status::enabled},
    };
    for (const auto &[content, expected] : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        EXPECT_EQ(item.status(), expected) << content.toStdString();
    }
}

TEST(AutostartLoginItem, ProgramPathsAreQuotedForTheExecLine)
{
    const std::vector<std::pair<QString, QByteArray>> cases{
        {"/home/a b/orvel", "Exec=\"/home/a b/orvel\"\n"},
        {"/x/\"q\"/orvel", "Exec=\"/x/\\\\\"q\\\\\"/orvel\"\n"},
        {"/x/$HOME/100%/orvel", "Exec=\"/x/\\\\$HOME/100%%/orvel\"\n"},
        {"/x\\y/orvel", "Exec=\"/x\\\\\\\\y/orvel\"\n"},
    };
    for (const auto &[program, line] : cases)
        EXPECT_TRUE(AutostartLoginItem::desktopEntry(program).contains(line)) << program.toStdString();
}

TEST(AutostartLoginItem, FailuresAreThrown)
{
    TemporaryHome home;
    AutostartLoginItem unknownProgram(home.path("autostart/orvel.desktop"), QString());
    EXPECT_EQ(unknownProgram.status(), Status::notFound);
    EXPECT_THROW(unknownProgram.registerItem(), LoginItemError);

    QFile blocker(home.path("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    AutostartLoginItem unwritable(home.path("blocker/orvel.desktop"), "/usr/bin/orvel");
    EXPECT_THROW(unwritable.registerItem(), LoginItemError);
    EXPECT_EQ(unwritable.status(), Status::notRegistered);
}

TEST(AutostartLoginItem, AnEntryThatIsThereKeepsTheUsersKeys)
{
    const QByteArray mine = "[Desktop Entry]\nName=Mine\nExec=\"/old\"\nHidden=true\n"
                            "X-GNOME-Autostart-Delay=30\n[Desktop Action x]\nExec=other\n";
    const struct {
        QByteArray entry;
        bool enable;
        QByteArray expected;
    } cases[] = {
        {mine, false, QByteArray(mine).replace("\"/old\"", "\"/new\"")},
        {mine, true, QByteArray(mine).replace("\"/old\"", "\"/new\"").replace("Hidden=true", "Hidden=false")},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", true,
            "[Desktop Entry]\nExec=\"/new\"\nX-GNOME-Autostart-enabled=true\n"},
        {"not an entry", false, AutostartLoginItem::desktopEntry("/new")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AutostartLoginItem::editedEntry(c.entry, "/new", c.enable), c.expected)
            << c.entry.toStdString();

    TemporaryHome home;
    const QString path = home.path("autostart/orvel.desktop");
    AutostartLoginItem item(path, "/new");
    item.keepRegistered();
    EXPECT_EQ(readFile(path), AutostartLoginItem::desktopEntry("/new"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(mine);
    file.close();
    item.keepRegistered();
    EXPECT_EQ(item.status(), Status::notRegistered);
    item.registerItem();
    EXPECT_EQ(item.status(), Status::enabled);
    EXPECT_TRUE(readFile(path).contains("X-GNOME-Autostart-Delay=30\n"));
}
