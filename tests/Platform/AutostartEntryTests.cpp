// GLib first: its headers name a struct member as Qt's keywords are.
#include <gio/gdesktopappinfo.h>
#include <glib.h>

#include "AutostartEntry.h"
#include "LoginItem.h"
#include "ManualScheduler.h"
#include "PrivateFiles.h"
#include "QtPrinters.h"
#include "ScopedEnvironment.h"
#include "TemporaryHome.h"

#include <QDir>
#include <gtest/gtest.h>
#include <optional>

// GLib's key-file reader, the oracle of what desktops read in an entry.
namespace {
struct GLibReading {
    GKeyFile *file = g_key_file_new();
    bool read;
    explicit GLibReading(const QByteArray &text)
        : read(
            g_key_file_load_from_data(file, text.constData(), gsize(text.size()), G_KEY_FILE_NONE, nullptr))
    {
    }
    ~GLibReading() { g_key_file_free(file); }
    std::optional<QByteArray> value(const char *key) const
    {
        gchar *value = g_key_file_get_value(file, "Desktop Entry", key, nullptr);
        std::optional<QByteArray> found = value ? std::optional(QByteArray(value)) : std::nullopt;
        g_free(value);
        return found;
    }
    std::optional<bool> boolean(const char *key) const
    {
        GError *error = nullptr;
        const bool value = g_key_file_get_boolean(file, "Desktop Entry", key, &error);
        const bool failed = error != nullptr;
        g_clear_error(&error);
        return failed ? std::nullopt : std::optional(value);
    }
    // The words of Exec as GLib launches it.
    QList<QByteArray> exec() const
    {
        gchar *string = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
        gchar **argv = nullptr;
        QList<QByteArray> words;
        if (string
            && g_shell_parse_argv(QByteArray(string).replace("%%", "%").constData(), nullptr, &argv, nullptr))
            for (gchar **word = argv; *word; ++word)
                words.append(*word);
        g_strfreev(argv);
        g_free(string);
        return words;
    }
    // Whether a desktop that reads the file through GLib starts it at login.
    // What a desktop's autostart does with it: GLib's application entry
    // (Type, Exec's and TryExec's programs found), not hidden or switched off.
    bool starts() const
    {
        GDesktopAppInfo *info = read ? g_desktop_app_info_new_from_keyfile(file) : nullptr;
        if (info)
            g_object_unref(info);
        return info && boolean("Hidden") != true
            && (!value("X-GNOME-Autostart-enabled") || boolean("X-GNOME-Autostart-enabled") == true);
    }
};

const char *const keys[] = {"Exec", "TryExec", "Hidden", "X-GNOME-Autostart-enabled"};
} // namespace

TEST(AutostartEntry, KeysAreReadAsGLibReadsThem)
{
    const QByteArray cases[] = {
        "[Desktop Entry]\nExec=a\nExec=b\nHidden=true\nHidden=false\n",
        "[Desktop Entry]\nExec=a\n[Other]\nExec=x\nHidden=true\n[Desktop Entry]\nExec=b\n",
        QByteArray("[Desktop Entry]\0junk\nExec=a\0b\nHidden=0\n", 38),
        "  [Desktop Entry]  \n\tExec \t= \t a b  \nHidden=true \n#Hidden=true\n\nExec[de]=x\n",
        "[Desktop Entry]\r\nExec=a\r\nX-GNOME-Autostart-enabled=yes\r\nTryExec=\r\n",
        "[Desktop Entry]\nHidden=TRUE\nX-GNOME-Autostart-enabled=1\nExec=a\rb\n",
        "[Other]\nExec=a\n",
    };
    for (const QByteArray &text : cases) {
        const GLibReading glib(text);
        ASSERT_TRUE(glib.read) << text.toStdString();
        const AutostartEntry entry(text);
        EXPECT_TRUE(entry.agreesWithGLib());
        EXPECT_EQ(entry.isEntry(), bool(g_key_file_has_group(glib.file, "Desktop Entry")));
        for (const char *key : keys) {
            EXPECT_EQ(entry.value(key), glib.value(key)) << key << " in " << text.toStdString();
            EXPECT_EQ(entry.boolean(key), glib.boolean(key)) << key << " in " << text.toStdString();
        }
    }

    // Files GLib refuses that systemd's generator and dex start: read as they read them.
    const struct {
        QByteArray text;
        QByteArray exec;
        std::optional<bool> hidden;
    } refused[] = {
        {"[Desktop Entry]\rExec=a b\rHidden=true\r", "a b", true},
        {"\xEF\xBB\xBF[Desktop Entry]\r\nExec=a\r\n", "a", std::nullopt},
        {"[Desktop Entry]\nExec=a\nnot a key\nHidden=1", "a", true},
        {"[Desktop Entry]\r\rExec=a\r\n\rHidden=false", "a", false},
    };
    for (const auto &c : refused) {
        EXPECT_FALSE(GLibReading(c.text).read);
        const AutostartEntry entry(c.text);
        EXPECT_TRUE(entry.isEntry()) << c.text.toStdString();
        EXPECT_EQ(entry.value("Exec"), c.exec);
        EXPECT_EQ(entry.boolean("Hidden"), c.hidden);
    }
    EXPECT_FALSE(AutostartEntry("not an entry").isEntry());
    EXPECT_FALSE(AutostartEntry("[Desktop Entry]\rExec=a\r[Desktop Entry] x\r").isEntry());
    EXPECT_FALSE(AutostartEntry(QByteArray("\x7f"
                                           "ELF\x02\x01\x01\0\0",
                                    9))
                     .isEntry());
}

// Whether the switch shows on is what GLib's reading says the desktop does.
TEST(AutostartLoginItem, TheSwitchIsWhatTheDesktopWillDo)
{
    TemporaryHome home;
    const QString path = home.path("orvel.desktop");
    AutostartLoginItem item(path, "/usr/bin/orvel");
    using Status = LoginItem::Status;
    const std::pair<QByteArray, Status> cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=sh\nHidden=1\n", Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=sh\nX-GNOME-Autostart-enabled=0\n", Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=sh\nHidden=true\nHidden=false\n", Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=sh\nHidden=false\nHidden=true \n", Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=sh\nHidden=yes\n", Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=sh\nX-GNOME-Autostart-enabled=yes\n",
            Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=sh\nX-GNOME-Autostart-enabled=true\t\n", Status::enabled},
        {"[Desktop Entry]\nType=Application\nExec=sh\nTryExec=/nowhere/orvel\n", Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=sh\nTryExec=sh\n", Status::enabled},
        {"[Desktop Entry]\nName=Orvel\n", Status::notRegistered},
        // Only an application whose program is there starts.
        {"[Desktop Entry]\nExec=sh\n", Status::notRegistered},
        {"[Desktop Entry]\nType=Link\nExec=sh\n", Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=exec /usr/bin/orvel\n", Status::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec='sh'' -x\n", Status::notRegistered},
        {QByteArray("[Desktop Entry]\0\nType=Application\nExec=sh\n", 42), Status::enabled},
        {"[Desktop Entry]\rType=Application\rExec=sh\rHidden=true\r", Status::notRegistered},
        {"[Desktop Entry]\rType=Application\rExec=sh\r", Status::enabled},
        // A file GLib refuses is read as systemd's generator reads it: its
        // booleans in any case, and GNOME's switch not at all.
        {"[Desktop Entry]\rType=Application\rExec=sh\rHidden=True\r", Status::notRegistered},
        {"[Desktop Entry]\rType=Application\rExec=sh\rX-GNOME-Autostart-enabled=false\r", Status::enabled},
        {"\xEF\xBB\xBF[Desktop Entry]\nType=Application\nExec=sh\nX-GNOME-Autostart-enabled=false\n",
            Status::enabled},
    };
    for (const auto &[text, expected] : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size());
        file.close();
        EXPECT_EQ(item.status(), expected) << text.toStdString();
        if (const GLibReading glib(text); glib.read)
            EXPECT_EQ(glib.starts(), expected == Status::enabled) << text.toStdString();
    }
}

// The entry is the user's: only the word that starts the program directly
// moves (and TryExec with it), every other byte stays.
TEST(AutostartLoginItem, OnlyTheWordThatStartsTheProgramMoves)
{
    const QString program = "/new/orvel-widget-host";
    const QByteArray old = "/old/orvel-widget-host";
    const struct {
        QByteArray before;
        QByteArray after = {}; // the same when empty
        bool enable = false;
    } cases[] = {
        // The user's own spellings and wrappers stay.
        {"[Desktop Entry]\nType=Application\nExec=env -C /srv ./orvel-widget-host\n"},
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'cd /srv && exec ./orvel-widget-host'\n"},
        {"[Desktop Entry]\nType=Application\nExec=~/bin/orvel-widget-host -x\n"},
        {"[Desktop Entry]\nType=Application\nExec=sh -c '$HOME/bin/orvel-widget-host'\n"},
        {"[Desktop Entry]\nType=Application\nExec=flatpak run --command /app/bin/orvel-widget-host "
         "com.example.Orvel\n"},
        {"[Desktop Entry]\nType=Application\nExec=flatpak run --command=/app/bin/orvel-widget-host "
         "com.example.Orvel\n"},
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'cat <<EOF | sh\\n/old/orvel-widget-host\\nEOF'\n"},
        {"[Desktop Entry]\nType=Application\nExec=systemd-run --user /old/orvel-widget-host\n"},
        {"[Desktop Entry]\nType=Application\nExec=nohup /old/orvel-widget-host\n"},
        {"[Desktop Entry]\nType=Application\nExec=env -S '/old/orvel-widget-host -x'\n"},
        {"[Desktop "
         "Entry]\nType=Application\nExec=/old/orvel-widget-host\nTryExec=/old/orvel-widget-host-helper\n"
         "TryExec=/usr/bin/sh\n",
            "[Desktop "
            "Entry]\nType=Application\nExec=/new/orvel-widget-host\nTryExec=/old/orvel-widget-host-helper\n"
            "TryExec=/usr/bin/sh\n"},
        {"[Desktop Entry]\nType=Application\nExec=sh -c "
         "/old/orvel-widget-host\nTryExec=/old/orvel-widget-host\n"},
        // The word that starts it, and TryExec where it named it.
        {"[Desktop Entry]\nType=Application\nExec=/old/orvel-widget-host -platform "
         "xcb\nTryExec=/old/orvel-widget-host\n",
            "[Desktop Entry]\nType=Application\nExec=/new/orvel-widget-host -platform "
            "xcb\nTryExec=/new/orvel-widget-host\n"},
        {"[Desktop Entry]\nType=Application\nExec=env -i -u A --chdir=/srv B=1 \"/old/orvel-widget-host\" "
         "-x\n",
            "[Desktop Entry]\nType=Application\nExec=env -i -u A --chdir=/srv B=1 \"/new/orvel-widget-host\" "
            "-x\n"},
        {"[Desktop Entry]\nType=Application\nExec=orvel-widget-host -x\nTryExec=orvel-widget-host\n",
            "[Desktop Entry]\nType=Application\nExec=/new/orvel-widget-host "
            "-x\nTryExec=/new/orvel-widget-host\n"},
        // Only the line desktops read moves: the last of each key.
        {"[Desktop Entry]\nType=Application\nExec=/old/orvel-widget-host\nExec=/old/other\n",
            "[Desktop Entry]\nType=Application\nExec=/old/orvel-widget-host\nExec=/new/orvel-widget-host\n"},
        {"[Desktop Entry]\nType=Application\nExec=x\nHidden=true\nHidden=false\n",
            "[Desktop Entry]\nType=Application\nExec=/new/orvel-widget-host\n"
            "Hidden=true\nHidden=false\n",
            true},
        {"[Desktop Entry]\nType=Application\nExec=x\nHidden=false\nHidden = true\n",
            "[Desktop Entry]\nType=Application\nExec=/new/orvel-widget-host\nHidden=false\nHidden = false\n",
            true},
        // Files GLib refuses or reads past a NUL keep every other byte too.
        {"[Desktop Entry]\rExec=/old/orvel-widget-host\rHidden=true\r",
            "[Desktop Entry]\rExec=/new/orvel-widget-host\rHidden=true\r"},
        {QByteArray("[Desktop Entry]\0junk\nExec=/old/orvel-widget-host\n", 50),
            QByteArray("[Desktop Entry]\0junk\nExec=/new/orvel-widget-host\n", 50)},
        {"[Desktop Entry]\nType=Application\nExec=/old/orvel-widget-host -platform "
         "xcb\nX-GNOME-Autostart-Delay=5\nHidden=true\n"
         "not a key\n",
            "[Desktop Entry]\nType=Application\nExec=/new/orvel-widget-host -platform "
            "xcb\nX-GNOME-Autostart-Delay=5\nHidden=true\n"
            "not a key\n"},
    };
    for (const auto &c : cases) {
        const QByteArray after = c.after.isEmpty() ? c.before : c.after;
        const QByteArray edited = AutostartLoginItem::editedEntry(c.before, program, c.enable);
        EXPECT_EQ(edited, after) << c.before.toStdString();
        // As GLib launches it: the same words, but the program's.
        const GLibReading was(c.before);
        const GLibReading is(edited);
        if (!was.read || !is.read || c.before.count("Exec=") > 1)
            continue;
        QList<QByteArray> expected = was.exec();
        if (edited != c.before && !expected.isEmpty())
            expected[expected.indexOf(old) >= 0 ? expected.indexOf(old) : 0] = program.toUtf8();
        if (!c.enable)
            EXPECT_EQ(is.exec(), expected) << c.before.toStdString();
    }
}

TEST(AutostartLoginItem, WhatNoDesktopReadsIsSetAsideAndTheCapHoldsForTheWholeFile)
{
    TemporaryHome home;
    const QString path = home.path("autostart/orvel.desktop");
    QDir().mkpath(home.path("autostart"));
    const QString program = "/new/orvel-widget-host";
    const auto put = [&](const QByteArray &text) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
    };
    AutostartLoginItem item(path, program);
    const QByteArray noEntries[]
        = {"not an entry", "[Other]\nExec=x\n", "\xEF\xBB\xBF[Desktop Entry] x\rExec=y\r",
            QByteArray("\x7f"
                       "ELF\0\0",
                6)};
    for (const QByteArray &text : noEntries) {
        QDir(home.path("autostart")).removeRecursively();
        QDir().mkpath(home.path("autostart"));
        ASSERT_TRUE(put(text));
        item.keepRegistered();
        EXPECT_EQ(readFile(path), AutostartLoginItem::desktopEntry(program));
        EXPECT_EQ(readFile(path + ".unreadable"), text);
    }
    // An empty file holds nothing to keep.
    ASSERT_TRUE(put(" \n"));
    item.keepRegistered();
    EXPECT_EQ(readFile(path), AutostartLoginItem::desktopEntry(program));
    EXPECT_FALSE(QFileInfo::exists(path + ".unreadable.2"));

    // The cap is the whole file's, after the edit: nothing is written past it.
    const qint64 cap = PrivateFiles::keptFileLimit;
    const QByteArray head = "[Desktop Entry]\nExec=/old/orvel-widget-host\n#";
    const QByteArray full = head + QByteArray(cap - head.size() - 1, 'x') + '\n';
    ASSERT_TRUE(put(full));
    AutostartLoginItem longer(path, "/new/place/orvel-widget-host");
    try {
        longer.keepRegistered();
        ADD_FAILURE() << "written";
    } catch (const LoginItemError &error) {
        EXPECT_EQ(QString(error.what()),
            QStringLiteral("%1: it would grow to %2 bytes, past the %3 an entry may be; left as it is")
                .arg(path)
                .arg(cap + 6)
                .arg(cap));
    }
    EXPECT_TRUE(readFile(path) == full);
    ASSERT_TRUE(put(full + 'x'));
    EXPECT_THROW(item.keepRegistered(), LoginItemError);

    // 599,000 keys: only the last Exec, the one desktops read, changes.
    QByteArray keys = "[Desktop Entry]\n";
    for (int i = 0; i < 599'000; ++i)
        keys += "Exec=x\n";
    const QByteArray edited = AutostartLoginItem::editedEntry(keys, program, false);
    EXPECT_TRUE(edited == keys.chopped(2) + "/new/orvel-widget-host\n");
}

// A user's edit made while Orvel writes the entry is kept: the file is read
// again before the rename, and edited afresh when it changed.
TEST(AutostartLoginItem, AnEditMadeMeanwhileIsNeverWrittenOver)
{
    TemporaryHome home;
    const QString path = home.path("orvel.desktop");
    const QByteArray before = "[Desktop Entry]\nExec=/old/orvel-widget-host\n";
    const QByteArray users = "[Desktop Entry]\nExec=/old/orvel-widget-host\nHidden=true\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    file.close();
    AutostartLoginItem item(path, "/new/orvel-widget-host");
    int writes = 0;
    item.setBeforeWriting([&] {
        if (writes++ == 0) {
            QFile again(path);
            ASSERT_TRUE(again.open(QIODevice::WriteOnly | QIODevice::Truncate) && again.write(users));
        }
    });
    item.keepRegistered();
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(readFile(path), QByteArray(users).replace("/old/", "/new/"));
    EXPECT_EQ(item.status(), LoginItem::Status::notRegistered);
}

// An entry read empty, or while a program has it open for writing, is being
// saved: it is read again (on the Scheduler's clock) until the save is done,
// and only then edited. One that stays empty is an empty file, which gets a
// fresh entry; one that stays open for writing is left as it is.
TEST(AutostartLoginItem, AnEntryBeingSavedIsEditedOnlyOnceTheSaveIsDone)
{
    TemporaryHome home;
    ManualScheduler clock;
    const ScopedScheduler current(clock);
    const QString path = home.path("orvel.desktop");
    const QByteArray users
        = "[Desktop Entry]\nType=Application\nExec=/old/orvel-widget-host\nX-GNOME-Autostart-Delay=9\n";
    const QByteArray edited = QByteArray(users).replace("/old/", "/new/");
    const QByteArray fresh = AutostartLoginItem::desktopEntry("/new/orvel-widget-host");
    const int settle = int(AutostartLoginItem::settleSeconds / AutostartLoginItem::settlePollSeconds);
    const struct {
        const char *what;
        QByteArray before;
        bool heldOpen; // its writer keeps it open for writing until it is done
        int doneAt; // the pause at which the save is done (the rest written, the file closed); 0: never
        QByteArray after;
        int pauses; // at least; at most one more
        bool refused = false;
    } cases[] = {
        {"saved whole", users, false, 0, edited, 0},
        {"read empty, then saved", "", false, 3, edited, 3},
        {"open with its head written", users.left(20), true, 5, edited, 5},
        {"open and empty", "", true, 2, edited, 2},
        {"empty for good", "", false, 0, fresh, settle},
        {"open for good", users.left(20), true, 0, users.left(20), 10 * settle, true},
    };
    for (const auto &c : cases) {
        std::optional<QFile> writer(path);
        ASSERT_TRUE(writer->open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(writer->write(c.before), c.before.size());
        ASSERT_TRUE(writer->flush());
        if (!c.heldOpen)
            writer.reset();
        ASSERT_EQ(PrivateFiles::isBeingWritten(path), c.heldOpen) << c.what;
        int pauses = 0;
        AutostartLoginItem item(path, "/new/orvel-widget-host");
        item.setPause([&](double seconds) {
            if (++pauses == c.doneAt) {
                if (!writer) {
                    writer.emplace(path);
                    writer->open(QIODevice::WriteOnly | QIODevice::Truncate);
                }
                writer->write(users.mid(writer->pos()));
                writer.reset();
            }
            clock.advance(seconds);
        });
        bool refused = false;
        try {
            item.keepRegistered();
        } catch (const LoginItemError &) {
            refused = true;
        }
        writer.reset();
        EXPECT_EQ(refused, c.refused) << c.what;
        EXPECT_EQ(readFile(path), c.after) << c.what;
        EXPECT_GE(pauses, c.pauses) << c.what;
        EXPECT_LE(pauses, c.pauses + (c.refused ? 10 : 1)) << c.what;
    }
}

// A moved program in a line the user keeps, or a TryExec that is gone: one
// warning that names the entry, and the line as it was.
TEST(AutostartLoginItem, AGonePathInTheUsersLineIsOneWarning)
{
    TemporaryHome home;
    const QString path = home.path("orvel.desktop");
    // A home folder with the host in its bin folder.
    ScopedEnvironment environment;
    environment.set("HOME", home.path().toUtf8());
    ASSERT_TRUE(QDir().mkpath(home.path("bin")));
    ASSERT_TRUE(QFile(home.path("bin/orvel-widget-host")).open(QIODevice::WriteOnly));
    const QString gone = ", which is not there; the line is yours and stays as it is";
    const QString unexpanded
        = ", but desktops do not expand ~ or $HOME, so the desktop starts nothing; the line is yours and "
          "stays as it is";
    const struct {
        QByteArray text;
        QString warning;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'sleep 5; exec /old/orvel-widget-host'\n",
            ": its Exec line names /old/orvel-widget-host, which is not there; the line is yours and stays "
            "as "
            "it is"},
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'sleep 5; exec /new/orvel-widget-host'\n", {}},
        {"[Desktop Entry]\nType=Application\nExec=/new/orvel-widget-host\nTryExec=/old/other\n",
            ": its TryExec names /old/other, which is not there, so the desktop starts nothing"},
        {"[Desktop Entry]\nType=Application\nExec=nohup ~/bin/orvel-widget-host\n", {}},
        // The home folder spelled as a shell reads it: a gone path there is the same one warning.
        {"[Desktop Entry]\nType=Application\nExec=~/old/orvel-widget-host\n",
            ": its Exec line names ~/old/orvel-widget-host" + gone},
        {"[Desktop Entry]\nType=Application\nExec=env A=1 $HOME/old/orvel-widget-host -x\n",
            ": its Exec line names $HOME/old/orvel-widget-host" + gone},
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'sleep 5; exec ${HOME}/old/orvel-widget-host'\n",
            ": its Exec line names ${HOME}/old/orvel-widget-host" + gone},
        {"[Desktop Entry]\nType=Application\nExec=nohup ~/old/orvel-widget-host\n",
            ": its Exec line names ~/old/orvel-widget-host" + gone},
        {"[Desktop Entry]\nType=Application\nExec=sh -c \"sleep 5; exec ~/bin/orvel-widget-host\"\n", {}},
        {"[Desktop Entry]\nType=Application\nExec=sh -c 'exec $X/old/orvel-widget-host'\n", {}},
        // There, but only a shell would find it: a desktop starts the word as written.
        {"[Desktop Entry]\nType=Application\nExec=~/bin/orvel-widget-host -x\n",
            ": its Exec line starts ~/bin/orvel-widget-host" + unexpanded},
        {"[Desktop Entry]\nType=Application\nExec=\"$HOME/bin/orvel-widget-host\"\n",
            ": its Exec line starts $HOME/bin/orvel-widget-host" + unexpanded},
    };
    for (const auto &c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(c.text));
        file.close();
        AutostartLoginItem item(path, "/new/orvel-widget-host");
        item.keepRegistered();
        EXPECT_EQ(item.warning(), c.warning.isEmpty() ? QString() : path + c.warning);
        EXPECT_EQ(readFile(path), c.text);
    }
}
