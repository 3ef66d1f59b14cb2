#include "LoginItem.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"

#include <QDateTime>
#include <QDir>
#include <QScopeGuard>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using Status = LoginItem::Status;

TEST(AutostartLoginItem, RegisteringWritesAnEntryAndUnregisteringRemovesIt)
{
    TemporaryHome home;
    const QString path = AutostartLoginItem::standardFilePath();
    EXPECT_EQ(path, home.configHome() + "/autostart/com.velbrandtoro.Orvel.desktop");
    // The desktop starts only a program that is there.
    const QString program = home.path("opt/orvel/bin/orvel");
    QDir().mkpath(home.path("opt/orvel/bin"));
    ASSERT_TRUE(QFile(program).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    AutostartLoginItem item(path, program);
    EXPECT_EQ(item.status(), Status::notRegistered);
    item.registerItem();
    item.registerItem();
    EXPECT_EQ(item.status(), Status::enabled);
    EXPECT_TRUE(readFile(path).contains("\nExec=\"" + program.toUtf8() + "\"\n"));
    item.unregisterItem();
    EXPECT_EQ(item.status(), Status::notRegistered);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_NO_THROW(item.unregisterItem());

    // Entries the user switched off in the desktop's settings do not count.
    const std::vector<std::pair<QByteArray, Status>> cases{
        {"[Desktop Entry]\nType=Application\nExec=sh\nHidden=true\n", Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=sh\nX-GNOME-Autostart-enabled=false\n",
            Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=sh\nHidden=false\n", Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=sh\n[Desktop Action x]\nHidden=true\n", Status::enabled},
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
        // A line break stays an escape: a raw one would end the entry's line.
        {"/x/a\nb\tc/orvel", "Exec=\"/x/a\\nb\\tc/orvel\"\n"},
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
        QString program = "/new";
    } cases[] = {
        {mine, false, QByteArray(mine).replace("\"/old\"", "\"/new\"")},
        {mine, true,
            QByteArray(mine)
                .replace("[Desktop Entry]\n", "[Desktop Entry]\nType=Application\n")
                .replace("\"/old\"", "\"/new\"")
                .replace("Hidden=true", "Hidden=false")},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", true,
            "[Desktop Entry]\nType=Application\nExec=\"/new\"\nX-GNOME-Autostart-enabled=true\n"},
        {"not an entry", false, AutostartLoginItem::desktopEntry("/new")},
        // A program that moved: only its path changes, every other byte stays.
        {"\xEF\xBB\xBF[Desktop Entry]\r\nExec=env QT_SCALE_FACTOR=2 /old/new --flag\r\nHidden=true", false,
            "\xEF\xBB\xBF[Desktop Entry]\r\nExec=env QT_SCALE_FACTOR=2 /new --flag\r\nHidden=true"},
        {"[Desktop Entry]\nExec=env -u A B=\"1 2\" \"/old dir/new\" -x \"%%\"\n", false,
            "[Desktop Entry]\nExec=env -u A B=\"1 2\" \"/new\" -x \"%%\"\n"},
        {"[Desktop Entry]\nExec = /old/new -x   \n", false, "[Desktop Entry]\nExec = /new -x   \n"},
        // Moved behind env's options; inside a shell's or env's string the line is the user's.
        {"[Desktop Entry]\nExec=env -C /tmp QT_SCALE_FACTOR=2 /old/place/new -platform xcb\n", false,
            "[Desktop Entry]\nExec=env -C /tmp QT_SCALE_FACTOR=2 /new -platform xcb\n"},
        {"[Desktop Entry]\nExec=env -uFOO -i - --chdir=/srv --unset BAR /old/new\n", false,
            "[Desktop Entry]\nExec=env -uFOO -i - --chdir=/srv --unset BAR /new\n"},
        {"[Desktop Entry]\r\nExec=sh -c \"sleep 10; /old/new\"\r\n", false,
            "[Desktop Entry]\r\nExec=sh -c \"sleep 10; /old/new\"\r\n"},
        {"[Desktop Entry]\nExec=/usr/bin/env -S \"A=1 /old/new -x\" -y\n", false,
            "[Desktop Entry]\nExec=/usr/bin/env -S \"A=1 /old/new -x\" -y\n"},
        // A shell's string stays byte for byte, whatever the new path.
        {R"([Desktop Entry]
Exec=bash -lc "sleep 10 && exec /old/new --flag >/dev/null 2>&1")",
            false,
            R"([Desktop Entry]
Exec=bash -lc "sleep 10 && exec /old/new --flag >/dev/null 2>&1")",
            "/home/a b/new"},
        // Orvel's own entry: the same rule for its name.
        {R"([Desktop Entry]
Exec=zsh -c "'/usr/local/bin/orvel' --x; true"
)",
            false,
            R"([Desktop Entry]
Exec=zsh -c "'/usr/local/bin/orvel' --x; true"
)",
            "/opt/it's/orvel"},
        {R"([Desktop Entry]
Exec=dash -c "env -S 'A=1 /usr/local/bin/orvel' >/tmp/orvel 2>&1 &")",
            false,
            R"([Desktop Entry]
Exec=dash -c "env -S 'A=1 /usr/local/bin/orvel' >/tmp/orvel 2>&1 &")",
            "/opt/orvel/bin/orvel"},
        // Only the program's own word moves, never a path among its arguments; a
        // wrapper's line (nohup, a shell, a program of the user's) is the user's.
        {"[Desktop Entry]\nExec=sh -c \"cd /old/new && exec /old/new/build/new\"\n", false,
            "[Desktop Entry]\nExec=sh -c \"cd /old/new && exec /old/new/build/new\"\n"},
        {"[Desktop Entry]\nExec=/old/new --plugin /opt/x/new\n", false,
            "[Desktop Entry]\nExec=/new --plugin /opt/x/new\n"},
        {"[Desktop Entry]\nExec=nohup nice -n 5 timeout -k 2 10 /old/new -x /old/new\n", false,
            "[Desktop Entry]\nExec=nohup nice -n 5 timeout -k 2 10 /old/new -x /old/new\n"},
        {"[Desktop Entry]\nExec=sh -c \"cd /srv/new; systemd-inhibit --what idle new\"\n", false,
            "[Desktop Entry]\nExec=sh -c \"cd /srv/new; systemd-inhibit --what idle new\"\n"},
        {"[Desktop Entry]\nExec=my-wrapper -v /old/new\n", false,
            "[Desktop Entry]\nExec=my-wrapper -v /old/new\n"},
        // Single quotes, as desktops read them: the new path is written inside them.
        {"[Desktop Entry]\nExec='/old/new' -x\n", false, R"([Desktop Entry]
Exec='/opt/it'\\''s 50%%/new' -x
)",
            "/opt/it's 50%/new"},
        {"[Desktop Entry]\nExec=sh -c 'sleep 1; /old/new'\n", false,
            "[Desktop Entry]\nExec=sh -c 'sleep 1; /old/new'\n", "/opt/it's 50%/new"},
        // Another program's arguments are not this one's; an open quote is no command.
        {"[Desktop Entry]\nExec=env A=1 /usr/bin/other --flag\n", false,
            "[Desktop Entry]\nExec=env A=1 /new\n"},
        {"[Desktop Entry]\nExec=\"/usr/bin/other --flag\n", false, "[Desktop Entry]\nExec=\"/new\"\n"},
        // A line that mentions the program anywhere is the user's: a NAME=value is
        // no command, and only a moved command's path changes.
        {"[Desktop Entry]\nExec=\"/old/new --flag\n", false, "[Desktop Entry]\nExec=\"/old/new --flag\n"},
        {"[Desktop Entry]\nExec=sh -c 'H=/old/orvel-widget-host; exec \"$H\" --x'\n", false,
            "[Desktop Entry]\nExec=sh -c 'H=/old/orvel-widget-host; exec \"$H\" --x'\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=env -S 'H=/old/orvel-widget-host sh -c \"exec ${H}\"'\n", false,
            "[Desktop Entry]\nExec=env -S 'H=/old/orvel-widget-host sh -c \"exec ${H}\"'\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=sh -c 'LOG=/tmp/orvel-widget-host; exec /old/orvel-widget-host'\n", false,
            "[Desktop Entry]\nExec=sh -c 'LOG=/tmp/orvel-widget-host; exec /old/orvel-widget-host'\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=env H=/old/orvel-widget-host other --x\n", false,
            "[Desktop Entry]\nExec=env H=/old/orvel-widget-host other --x\n", "/new/orvel-widget-host"},
        // env would read a new path with = as a variable: the line stays.
        {"[Desktop Entry]\nExec=env QT_SCALE_FACTOR=2 /old/orvel-widget-host --x\n", false,
            "[Desktop Entry]\nExec=env QT_SCALE_FACTOR=2 /old/orvel-widget-host --x\n",
            "/opt/a=b/orvel-widget-host"},
        {"[Desktop Entry]\nExec=env FOO=1 other\n", false, "[Desktop Entry]\nExec=env FOO=1 other\n",
            "/opt/a=b/orvel-widget-host"},
        {"[Desktop Entry]\nExec=sh -c 'command env /old/orvel-widget-host'\n", false,
            "[Desktop Entry]\nExec=sh -c 'command env /old/orvel-widget-host'\n",
            "/opt/a=b/orvel-widget-host"},
        // Only a whole path among an unknown program's arguments; bash's += is an assignment too.
        {"[Desktop Entry]\nExec=other FOO=/old/orvel-widget-host --config=/old/orvel-widget-host\n", false,
            "[Desktop Entry]\nExec=other FOO=/old/orvel-widget-host --config=/old/orvel-widget-host\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=bash -c 'A+=/old/orvel-widget-host; exec \"$A\"'\n", false,
            "[Desktop Entry]\nExec=bash -c 'A+=/old/orvel-widget-host; exec \"$A\"'\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=sh -c -x/old/orvel-widget-host\n", false,
            "[Desktop Entry]\nExec=sh -c -x/old/orvel-widget-host\n", "/n e w/orvel-widget-host"},
        // The name escaped in part is still mentioned; a line break parts words as a space does.
        {"[Desktop Entry]\nExec=sh -c 'exec $(command -v orvel-widget\\\\-host)'\n", false,
            "[Desktop Entry]\nExec=sh -c 'exec $(command -v orvel-widget\\\\-host)'\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=env\\nQT_SCALE_FACTOR=2\\n/old/orvel-widget-host\n", false,
            "[Desktop Entry]\nExec=env\\nQT_SCALE_FACTOR=2\\n/new/orvel-widget-host\n",
            "/new/orvel-widget-host"},
        // Joined by a line continuation or bash's $'', or past a quoted } inside ${…}: still the user's.
        {"[Desktop Entry]\nExec=sh -c 'exec $(command -v orvel-widget\\\\\\n-host) --x'\n", false,
            "[Desktop Entry]\nExec=sh -c 'exec $(command -v orvel-widget\\\\\\n-host) --x'\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=bash -c \"exec orvel-widget-ho\\\\$''st --x\"\n", false,
            "[Desktop Entry]\nExec=bash -c \"exec orvel-widget-ho\\\\$''st --x\"\n",
            "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=sh -c ': ${x:-\"}\"}; other \"; /old/orvel-widget-host \" # \"'\n", false,
            "[Desktop Entry]\nExec=sh -c ': ${x:-\"}\"}; other \"; /old/orvel-widget-host \" # \"'\n",
            "/new/orvel-widget-host"},
        // A comment ends at its line's end.
        {"[Desktop Entry]\nExec=# note\\n/old/orvel-widget-host --x\n", false,
            "[Desktop Entry]\nExec=# note\\n/new/orvel-widget-host --x\n", "/new/orvel-widget-host"},
        {"[Desktop Entry]\nExec=sh -c \"A=1 /old/orvel-widget-host\"\n", false,
            "[Desktop Entry]\nExec=sh -c \"A=1 /old/orvel-widget-host\"\n", "/opt/a=b/orvel-widget-host"},
        {"[Desktop Entry]\r\nHidden=true\r\nX-GNOME-Autostart-enabled=false", true,
            "[Desktop "
            "Entry]\r\nType=Application\r\nExec=\"/new\"\r\nHidden=false\r\nX-GNOME-Autostart-enabled=true"},
        {"[Desktop Entry]", true, "[Desktop Entry]\nType=Application\nExec=\"/new\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AutostartLoginItem::editedEntry(c.entry, c.program, c.enable), c.expected)
            << c.entry.toStdString();

    TemporaryHome home;
    const QString path = home.path("autostart/orvel.desktop");
    // The desktop starts only a program that is there.
    const QString program = home.path("new");
    ASSERT_TRUE(QFile(program).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    AutostartLoginItem item(path, program);
    item.keepRegistered();
    EXPECT_EQ(readFile(path), AutostartLoginItem::desktopEntry(program));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(mine);
    file.close();
    item.keepRegistered();
    EXPECT_EQ(item.status(), Status::notRegistered);
    item.registerItem();
    EXPECT_EQ(item.status(), Status::enabled);
    EXPECT_TRUE(readFile(path).contains("X-GNOME-Autostart-Delay=30\n"));

    // Where the new path cannot stand, nothing is written and the refusal names the entry.
    const QByteArray wrapped = "[Desktop Entry]\nExec=env A=2 /old/orvel-widget-host\nHidden=true\n";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(wrapped);
    file.close();
    AutostartLoginItem moved(path, "/opt/a=b/orvel-widget-host");
    try {
        moved.registerItem();
        ADD_FAILURE() << "registered";
    } catch (const LoginItemError &error) {
        EXPECT_EQ(QString(error.what()),
            path
                + ": its Exec line is left as it is: env would take the new path /opt/a=b/orvel-widget-host "
                  "for a variable");
    }
    EXPECT_EQ(readFile(path), wrapped);
}

// However deep or long the line, the reader answers and the line is kept.
TEST(AutostartLoginItem, NoLineCrashesOrStallsTheReader)
{
    const QByteArray host = "/usr/bin/orvel-widget-host";
    const auto repeated = [](const QByteArray &piece, int times) {
        QByteArray out;
        for (int i = 0; i < times; ++i)
            out += piece;
        return out;
    };
    // A shell's command string inside another's, each level escaped once more.
    const auto nest = [](QByteArray text, int levels) {
        for (int level = 0; level < levels; ++level)
            text = "sh -c \"" + text.replace('\\', "\\\\").replace('"', "\\\"") + '"';
        return text;
    };
    const QByteArray nested = nest(host + " --x", 18);
    const QByteArray lines[] = {
        repeated("env ", 100'000) + host + " --x",
        repeated("nohup ", 100'000) + host + " --x",
        repeated("env -Senv ", 20'000) + host,
        "sh -c \"" + repeated("a;", 200'000) + "sleep 5; \\\\$(command -v orvel-widget-host) --x\"",
        QByteArray(nested).replace('\\', "\\\\"), // and as an entry's string
        "sh -c '" + repeated("c;", 200'000) + host + "'",
    };
    for (const QByteArray &exec : lines) {
        const QByteArray entry = "[Desktop Entry]\nExec=" + exec + "\n";
        // Not EXPECT_EQ: it would print megabytes.
        EXPECT_TRUE(AutostartLoginItem::editedEntry(entry, host, false) == entry)
            << exec.left(80).toStdString();
    }

    // Moved paths inside a shell's strings, however many: the line is the
    // user's and stays, with nothing refused.
    const auto movedIn = [&](int times, const QByteArray &piece) {
        return "[Desktop Entry]\nExec=sh -c '" + repeated(piece, times) + "'\n";
    };
    EXPECT_EQ(AutostartLoginItem::editedEntry(movedIn(4000, "sh -c /old/orvel-widget-host;"), host, false)
                  .count(host),
        0);
    QByteArray distinct;
    for (int i = 0; i < 5000; ++i)
        distinct += "c" + QByteArray::number(i) + ";";
    const struct {
        QByteArray entry;
        QString program;
        QString refusal;
    } refused[] = {
        {movedIn(1, distinct + "/old/orvel-widget-host"), host, {}},
        {movedIn(5000, "sh -c /old/orvel-widget-host;"), host, {}},
        {movedIn(4000, "/old/orvel-widget-host;"), "/" + QString(1100, 'a') + "/orvel-widget-host", {}},
    };
    for (const auto &c : refused) {
        QString refusal;
        EXPECT_TRUE(AutostartLoginItem::editedEntry(c.entry, c.program, false, "Orvel", &refusal) == c.entry);
        EXPECT_EQ(refusal, c.refusal);
    }
}

TEST(AutostartLoginItem, AnEntryThatStartsTheProgramStaysByteForByte)
{
    TemporaryHome home;
    QDir().mkpath(home.path("bin"));
    const QString program = home.path("bin/orvel-widget-host");
    // Only its path and identity count, and that the search path finds it.
    ASSERT_TRUE(QFile(program).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::link(program, home.path("link")));
    const QByteArray path = program.toUtf8();
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", home.path("bin").toUtf8() + ':' + savedPath);
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", savedPath); });

    const QString app = home.path("bin/orvel");
    ASSERT_TRUE(QFile::copy(program, app));
    const struct {
        QByteArray content;
        Status status;
        QString program = {}; // the host's when empty
    } cases[] = {
        {"\xEF\xBB\xBF[Desktop Entry]\nType=Application\nExec=\"" + path + "\"\n", Status::enabled},
        {"\xEF\xBB\xBF[Desktop Entry]\r\nType=Application\r\nName=Mine\r\nName[de]=Meins\r\nExec=env "
         "QT_SCALE_FACTOR=2 "
                + path + " -platform xcb\r\nHidden=true\r\n\r\n# mine\r\n[Other]\r\nExec=x\r\n",
            Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec = env A=1 B=2 \"" + path
                + "\" --flag\nX-GNOME-Autostart-enabled=false",
            Status::notRegistered},
        {"[Desktop Entry]\r\nType=Application\r\nExec=" + path + "\r\n", Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=" + home.path("link").toUtf8() + " --flag\n",
            Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=orvel-widget-host\n", Status::enabled},
        // Wrappers name it behind options of their own.
        {"[Desktop Entry]\nType=Application\nExec=env -C /tmp QT_SCALE_FACTOR=2 " + path + "\n",
            Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=/usr/bin/env -S \"" + path + " -platform xcb\"\n",
            Status::enabled},
        // A shell that runs it after a delay, through exec or env, or quoted.
        {"[Desktop Entry]\nType=Application\nExec=sh -c \"sleep 10; " + path + "\"\n", Status::enabled},
        {"[Desktop Entry]\r\nType=Application\r\nExec=bash -lc \"exec env -u DISPLAY QT_SCALE_FACTOR=2 "
         "orvel-widget-host "
         "-x\"\r\n",
            Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=dash -c \"'" + path
                + "' >>/tmp/log 2>&1 &\"\nHidden=true\n",
            Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=dash -c \"QT_SCALE_FACTOR=2 orvel-widget-host\"\n",
            Status::enabled},
        // Found by a command substitution: the reader cannot follow it, the shell can.
        {"[Desktop Entry]\nType=Application\nExec=sh -c \"sleep 5; \\\\$(command -v orvel-widget-host) "
         "--x\"\n",
            Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'sleep 5; exec `command -v orvel-widget-host`'\n",
            Status::enabled},
        // Orvel's own entry likewise.
        {"[Desktop Entry]\nType=Application\nExec=sh -c \"sleep 5 && orvel\"\n", Status::enabled, app},
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'O=$(command -v orvel); exec \"$O\"'\n",
            Status::enabled, app},
    };
    const QString entry = home.path("autostart/orvel.desktop");
    QDir().mkpath(home.path("autostart"));
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    for (const auto &[content, status, started] : cases) {
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_TRUE(file.write(content) == content.size() && file.flush());
        ASSERT_TRUE(file.setFileTime(past, QFileDevice::FileModificationTime));
        file.close();
        AutostartLoginItem item(entry, started.isEmpty() ? program : started);
        item.keepRegistered();
        EXPECT_EQ(readFile(entry), content);
        EXPECT_EQ(QFileInfo(entry).lastModified(), past) << content.toStdString();
        EXPECT_EQ(item.status(), status) << content.toStdString();
    }
}

TEST(AutostartLoginItem, UnregisteringRemovesOnlyAFileOrALinkToOne)
{
    TemporaryHome home;
    const QString entry = home.path("orvel.desktop");
    const QString file = home.path("file");
    const struct {
        std::function<bool()> make;
        QString refusal; // empty: removed
    } cases[] = {
        {[&] { return QFile(entry).open(QIODevice::WriteOnly); }, {}},
        {[&] { return QFile(file).open(QIODevice::WriteOnly) && QFile::link(file, entry); }, {}},
        {[&] { return QFile::link(home.path("nowhere"), entry); }, {}},
        {[&] { return ::mkfifo(QFile::encodeName(entry), 0600) == 0; }, "a named pipe (FIFO)"},
        {[&] { return QDir().mkdir(entry); }, "a directory"},
        {[&] { return ::mkfifo(QFile::encodeName(file), 0600) == 0 && QFile::link(file, entry); },
            "a symbolic link to a named pipe (FIFO)"},
    };
    AutostartLoginItem item(entry, "/usr/bin/orvel");
    for (const auto &c : cases) {
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        ASSERT_TRUE(c.make());
        QString refused;
        try {
            item.unregisterItem();
        } catch (const LoginItemError &error) {
            refused = error.what();
        }
        EXPECT_EQ(refused,
            c.refusal.isEmpty() ? QString() : entry + ": " + c.refusal + ", not an entry; left as it is");
        EXPECT_EQ(QFileInfo(entry).exists() || QFileInfo(entry).isSymLink(), !c.refusal.isEmpty())
            << refused.toStdString();
    }
}

// Desktops read an Exec value as a shell's words (single quotes too), and a
// shell's command string expands "~/" to the home folder: such a line that
// names the program stays as the user wrote it.
TEST(AutostartLoginItem, AnExecInSingleQuotesOrThroughTheHomeFolderStays)
{
    TemporaryHome home;
    QDir().mkpath(home.path("bin"));
    const QString program = home.path("bin/orvel-widget-host");
    ASSERT_TRUE(QFile(program).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    const auto restoreHome = qScopeGuard([&] { qputenv("HOME", savedHome); });
    const QByteArray path = program.toUtf8();

    const struct {
        QByteArray exec;
        QByteArray expected = {}; // the same when empty
    } cases[] = {
        {"sh -c 'sleep 10; " + path + "'"},
        {"bash -c 'sleep 10 && exec " + path + " -platform xcb'"},
        {"sh -c \"sleep 10; exec ~/bin/orvel-widget-host\""},
        {"bash -lc \"sleep 5 && ~/bin/orvel-widget-host -platform xcb\""},
        // Moved: the shell's string is the user's, and stays.
        {"sh -c 'sleep 10; /old/place/orvel-widget-host'"},
    };
    for (const auto &c : cases) {
        const QByteArray entry = "[Desktop Entry]\nExec=" + c.exec + "\nX-GNOME-Autostart-Delay=5\n";
        const QByteArray expected = "[Desktop Entry]\nExec=" + (c.expected.isEmpty() ? c.exec : c.expected)
            + "\nX-GNOME-Autostart-Delay=5\n";
        EXPECT_EQ(AutostartLoginItem::editedEntry(entry, program, false), expected) << c.exec.toStdString();
    }
}

// A desktop reads a backslash outside quotes as escaping the next character,
// as a shell does ('\'' inside single quotes, "\ " in a path): the line Orvel
// writes for a moved program is read back as written, and a line the user
// wrote so that names the program stays.
TEST(AutostartLoginItem, BackslashesOutsideQuotesAreReadAsTheDesktopReadsThem)
{
    const struct {
        QByteArray exec;
        QString program;
        QByteArray expected = {}; // the same when empty
    } cases[] = {
        // What Orvel wrote for a moved program: the next write keeps it.
        {R"(sh -c 'sleep 10; '\\''/opt/My Apps/orvel-widget-host'\\'' -x')",
            "/opt/My Apps/orvel-widget-host"},
        {R"('/opt/it'\\''s/orvel-widget-host' -x)", "/opt/it's/orvel-widget-host"},
        {R"(env -S 'A=1 '\\''/opt/My Apps/orvel-widget-host'\\''' -x)", "/opt/My Apps/orvel-widget-host"},
        // Written by the user.
        {R"(/opt/My\\ Apps/orvel-widget-host -x)", "/opt/My Apps/orvel-widget-host"},
        {R"(sh -c 'echo "it'\\''s late"; sleep 10; /opt/orvel-widget-host')", "/opt/orvel-widget-host"},
        // A command string this reading cannot follow (here the shell cannot either) stays.
        {R"(sh -c 'echo it'\\''s late; sleep 10; /opt/orvel-widget-host')", "/opt/orvel-widget-host"},
        {"/opt/orvel-widget-host -x # Orvel's host", "/opt/orvel-widget-host"},
    };
    for (const auto &c : cases) {
        const QByteArray entry = "[Desktop Entry]\nExec=" + c.exec + "\n";
        const QByteArray expected
            = "[Desktop Entry]\nExec=" + (c.expected.isEmpty() ? c.exec : c.expected) + "\n";
        EXPECT_EQ(AutostartLoginItem::editedEntry(entry, c.program, false), expected) << c.exec.toStdString();
    }

    // Moved once, then written again unchanged.
    const std::pair<QByteArray, QString> moves[] = {
        {"sh -c 'sleep 10; /old/orvel-widget-host -x'", "/opt/My Apps/orvel-widget-host"},
        {"'/old/orvel-widget-host' -x", "/opt/it's/orvel-widget-host"},
        {"env -S 'A=1 /old/orvel-widget-host' -x", "/opt/My Apps/orvel-widget-host"},
    };
    for (const auto &[exec, program] : moves) {
        const QByteArray once
            = AutostartLoginItem::editedEntry("[Desktop Entry]\nExec=" + exec + "\n", program, false);
        EXPECT_TRUE(once.contains(" -x")) << once.toStdString();
        EXPECT_EQ(AutostartLoginItem::editedEntry(once, program, false), once) << exec.toStdString();
    }
}
