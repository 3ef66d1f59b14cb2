#include "QtPrinters.h"
#include "WidgetFixtures.h"
#include "WidgetPlacements.h"

#include "PrivateFiles.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
const WidgetPlacement small{"OrvelNowPlaying", WidgetFamily::systemSmall, "", {24, 24}};
const WidgetPlacement large{"OrvelShortcuts", WidgetFamily::systemLarge, "HDMI-1", {600, 40}};
} // namespace

TEST(WidgetPlacementsTest, TheListSurvivesTheFileAndSkipsWhatItCannotRead)
{
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();
    EXPECT_EQ(path, home.configHome() + "/com.velbrandtoro.Orvel/widgets.json");
    EXPECT_TRUE(WidgetPlacementFile::read(path).placements.isEmpty());

    WidgetPlacementFile::save(path, {small, large});
    EXPECT_EQ(WidgetPlacementFile::read(path).placements, (QList{small, large}));
    EXPECT_TRUE(isUserOnly(path));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(R"({"widgets":[{"kind":"OrvelShortcuts","family":"systemHuge","x":1,"y":2},
        {"family":"systemSmall","x":1,"y":2}, {"kind":"OrvelNowPlaying","family":"systemSmall","x":"1","y":2},
        {"kind":"OrvelNowPlaying","family":"systemSmall","x":24,"y":24}]})");
    file.close();
    EXPECT_EQ(WidgetPlacementFile::read(path).placements, QList{small});
}

TEST(WidgetPlacementsTest, ANewWidgetGoesUnderTheLowestOnItsScreen)
{
    EXPECT_EQ(WidgetPlacementFile::nextPosition({}, ""), QPoint(24, 24));
    // Under the small one: 24 + 170 + 16.
    EXPECT_EQ(WidgetPlacementFile::nextPosition({small, large}, ""), QPoint(24, 210));
    EXPECT_EQ(WidgetPlacementFile::nextPosition({small, large}, "HDMI-1"), QPoint(24, 40 + 382 + 16));
    // With the screen known, the first free place from the top-left: the
    // large one at 600,40 leaves the top of the first column free.
    EXPECT_EQ(WidgetPlacementFile::nextPosition(
                  {small, large}, "HDMI-1", WidgetFamily::systemMedium, QRect(0, 0, 1920, 1080)),
        QPoint(24, 24));
}

TEST(WidgetPlacementsTest, WidgetsAddedWithoutAPlaceAllLieWhollyOnTheScreen)
{
    const QRect screen(0, 0, 1920, 1080);
    QList<WidgetPlacement> placed;
    for (int i = 0; i < 10; ++i) {
        const QPoint at = WidgetPlacementFile::nextPosition(placed, "", WidgetFamily::systemMedium, screen);
        const QRect frame(at, WidgetMetrics::size(WidgetFamily::systemMedium));
        EXPECT_TRUE(screen.contains(frame)) << i;
        for (const WidgetPlacement &other : placed)
            EXPECT_FALSE(frame.intersects(QRect(other.position, WidgetMetrics::size(other.family)))) << i;
        placed.append({"OrvelNowPlaying", WidgetFamily::systemMedium, "", at});
    }
    // Five to a column of 1080 pixels, the second column beside the first.
    EXPECT_EQ(placed[4].position, QPoint(24, 24 + 4 * (170 + 16)));
    EXPECT_EQ(placed[5].position, QPoint(24 + 364 + 16, 24));

    // After a large one the column holds fewer; nothing reaches below the screen.
    QList<WidgetPlacement> mixed{{"OrvelShortcuts", WidgetFamily::systemLarge, "", {24, 24}}};
    for (int i = 0; i < 6; ++i) {
        const QPoint at = WidgetPlacementFile::nextPosition(mixed, "", WidgetFamily::systemMedium, screen);
        EXPECT_TRUE(screen.contains(QRect(at, QSize(364, 170)))) << i;
        mixed.append({"OrvelNowPlaying", WidgetFamily::systemMedium, "", at});
    }
}

TEST(WidgetPlacementsTest, APlaceOffTheScreenIsMovedOntoIt)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize medium(364, 170);
    EXPECT_EQ(WidgetPlacementFile::clamped({1800, 1000}, medium, screen), QPoint(1920 - 364, 1080 - 170));
    EXPECT_EQ(WidgetPlacementFile::clamped({-50, -7}, medium, screen), QPoint(0, 0));
    EXPECT_EQ(WidgetPlacementFile::clamped({100, 200}, medium, screen), QPoint(100, 200));
    // Larger than the screen: the top-left corner stays on it.
    EXPECT_EQ(WidgetPlacementFile::clamped({90, 90}, QSize(364, 382), QRect(0, 0, 300, 300)), QPoint(0, 0));
}

TEST(WidgetPlacementsTest, AWidgetIsShownOnItsOwnScreenWhereverThatLiesOrWaitsWhollyOnThePrimaryOne)
{
    const WidgetScreen left{"DP-1", {0, 0, 1920, 1080}, true};
    const WidgetScreen right{"HDMI-1", {1920, 0, 1920, 1080}};
    const WidgetPlacement medium{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {1480, 40}};
    const WidgetPlacement onRight{"OrvelNowPlaying", WidgetFamily::systemMedium, "HDMI-1", {100, 500}};
    const struct {
        const char *row;
        WidgetPlacement placement;
        QList<WidgetScreen> screens;
        qsizetype screen;
        QPoint at;
    } rows[] = {
        {"at its place", medium, {left, right}, 0, {1480, 40}},
        {"named for its screen", onRight, {left, right}, 1, {2020, 500}},
        {"its screen listed first", onRight, {right, left}, 0, {2020, 500}},
        {"the screens swapped", onRight,
            {{"DP-1", {1920, 0, 1920, 1080}, true}, {"HDMI-1", {0, 0, 1920, 1080}}}, 1, {100, 500}},
        {"the primary one moved up and left", medium, {{"DP-1", {-1920, -300, 1920, 1080}, true}, right}, 0,
            {-440, -260}},
        // 1280 - 364: just far enough; the height still leaves it where it was.
        {"the primary one shrunk", medium, {{"DP-1", {0, 0, 1280, 720}, true}, right}, 0, {916, 40}},
        {"its screen missing", onRight, {left}, 0, {100, 500}},
        {"its screen missing, the primary one small", onRight, {{"DP-1", {0, 0, 400, 300}, true}}, 0,
            {36, 130}},
        {"no screen the primary one", onRight, {{"DP-2", {500, 0, 800, 600}}}, 0, {500 + 100, 600 - 170}},
        // Taller than the screen: its top-left corner stays on it.
        {"larger than its screen", {"OrvelShortcuts", WidgetFamily::systemLarge, "", {50, 50}},
            {{"DP-1", {0, 0, 800, 300}, true}}, 0, {50, 0}},
    };
    for (const auto &[row, placement, screens, screen, at] : rows) {
        const auto shown = WidgetPlacementFile::shown(placement, screens);
        ASSERT_TRUE(shown) << row;
        EXPECT_EQ(shown->screen, screen) << row;
        EXPECT_EQ(shown->frame, QRect(at, WidgetMetrics::size(placement.family))) << row;
    }
    EXPECT_FALSE(WidgetPlacementFile::shown(medium, {}));
}

TEST(WidgetPlacementsTest, AFileThatCannotBeReadIsSetAsideBeforeANewOneIsWritten)
{
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();
    const QString aside = path + ".unreadable";
    for (const QByteArray &unreadable :
        {QByteArray("{\"widgets\": [ oops"), QByteArray(R"({"version": 2, "widgets": []})")}) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::remove(aside);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(unreadable);
        file.close();

        WidgetPlacementFile::save(path, {small});
        EXPECT_EQ(readFile(aside), unreadable);
        EXPECT_EQ(WidgetPlacementFile::read(path).placements, QList{small});
        // Reported once: the file read now is the new one.
        EXPECT_EQ(readFile(aside), unreadable);
    }
}

TEST(WidgetPlacementsTest, AnElementOfAnUnknownFamilyIsKeptInTheFile)
{
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(R"({"widgets":[{"kind":"OrvelShortcuts","family":"systemExtraLarge","x":1,"y":2},
        {"kind":"OrvelLyrics","family":"systemSmall","x":24,"y":24}]})");
    file.close();
    const QList<WidgetPlacement> loaded = WidgetPlacementFile::read(path).placements;
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_EQ(loaded[0].kind, "OrvelLyrics");

    WidgetPlacementFile::save(path, loaded + QList{large});
    EXPECT_EQ(WidgetPlacementFile::read(path).placements, (QList{loaded[0], large}));
    const QJsonArray kept = WidgetPlacementFile::read(path).skipped;
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].toObject().value("family").toString(), "systemExtraLarge");
    EXPECT_FALSE(QFileInfo::exists(path + ".unreadable"));

    // The unknown one stays where it stood, and a widget nobody moved is
    // written as it was, odd values and all; only the moved one changes.
    const QByteArray moved = R"({"family":"systemSmall","kind":"OrvelNowPlaying","x":1,"y":2})";
    const QByteArray unknown = R"({"family":"systemHuge","kind":"OrvelShortcuts","x":1,"y":2})";
    const QByteArray odd
        = R"({"family":"systemSmall","kind":"OrvelLyrics","screen":7,"x":600.7,"y":5000000})";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{\"widgets\":[" + moved + "," + unknown + "," + odd + "]}");
    file.close();
    QList<WidgetPlacement> placements = WidgetPlacementFile::read(path).placements;
    ASSERT_EQ(placements.size(), 2);
    placements[0].position = {30, 40};
    WidgetPlacementFile::save(path, placements);
    QByteArrayList written;
    for (const QJsonValue &element :
        QJsonDocument::fromJson(readFile(path)).object().value("widgets").toArray())
        written.append(QJsonDocument(element.toObject()).toJson(QJsonDocument::Compact));
    EXPECT_EQ(written,
        (QByteArrayList{
            R"({"family":"systemSmall","kind":"OrvelNowPlaying","screen":"","x":30,"y":40})", unknown, odd}));
}

TEST(WidgetPlacementsTest, TheHostStartsAtLoginOnlyWhileWidgetsArePlaced)
{
    TemporaryHome home;
    const QString entry = WidgetHostAutostart::standardPath();
    EXPECT_EQ(entry, home.configHome() + "/autostart/com.velbrandtoro.Orvel.WidgetHost.desktop");
    WidgetHostAutostart::follow({small}, "/opt/orvel/bin/orvel-widget-host");
    const QByteArray text = readFile(entry);
    EXPECT_TRUE(text.contains("Name=Orvel widgets\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Exec=\"/opt/orvel/bin/orvel-widget-host\"\n")) << text.toStdString();
    WidgetHostAutostart::follow({}, "/opt/orvel/bin/orvel-widget-host");
    EXPECT_FALSE(QFileInfo::exists(entry));
}

namespace {
void put(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}
} // namespace

TEST(WidgetPlacementsTest, OnlyAWholeVersionThisOrvelKnowsIsRead)
{
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();
    const QByteArray widgets
        = R"("widgets":[{"kind":"OrvelNowPlaying","family":"systemSmall","x":24,"y":24}])";
    const QMap<QByteArray, QString> unreadable{
        {R"("99")", R"(its version "99" is not a whole number)"},
        {"1.5", "its version 1.5 is not a whole number"},
        {"null", "its version null is not a whole number"},
        {"1e10", "it was written by a newer Orvel (version 10000000000)"},
        {"99", "it was written by a newer Orvel (version 99)"},
        {"0", "its version 0 is none Orvel writes"},
    };
    for (auto version = unreadable.begin(); version != unreadable.end(); ++version) {
        put(path, "{\"version\":" + version.key() + "," + widgets + "}");
        const WidgetList list = WidgetPlacementFile::read(path);
        EXPECT_EQ(list.status, KeptRead::Status::notUnderstood) << version.key().toStdString();
        EXPECT_EQ(list.problem, version.value());
        EXPECT_TRUE(list.placements.isEmpty());
    }
    for (const QByteArray &readable :
        {"{\"version\":1," + widgets + "}", "{\"version\":1.0," + widgets + "}", "{" + widgets + "}"}) {
        put(path, readable);
        EXPECT_EQ(WidgetPlacementFile::read(path).status, KeptRead::Status::read) << readable.toStdString();
        EXPECT_EQ(WidgetPlacementFile::read(path).placements, QList{small});
    }
}

TEST(WidgetPlacementsTest, ADeviceAPipeOrAHugeFileInTheListsPlaceIsRefusedAtOnce)
{
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Endless zeros, and a pipe nobody writes to, neither hang nor fill the reader.
    ASSERT_TRUE(QFile::link("/dev/zero", path));
    QElapsedTimer timer;
    timer.start();
    const WidgetList zeros = WidgetPlacementFile::read(path);
    QFile::remove(path);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const WidgetList pipe = WidgetPlacementFile::read(path);
    EXPECT_LT(timer.elapsed(), 1000);
    for (const WidgetList &list : {zeros, pipe}) {
        EXPECT_EQ(list.status, KeptRead::Status::notRegular);
        EXPECT_EQ(list.problem, "it is not a regular file");
    }

    QFile::remove(path);
    put(path, "{\"widgets\":[" + QByteArray(PrivateFiles::keptFileLimit, ' ') + "]}");
    const WidgetList huge = WidgetPlacementFile::read(path);
    EXPECT_EQ(huge.status, KeptRead::Status::tooLarge);
    EXPECT_EQ(huge.problem, QString("it is larger than %1 bytes").arg(PrivateFiles::keptFileLimit));
}

TEST(WidgetPlacementsTest, TheLockOfAProcessThatDiedIsTakenOver)
{
    TemporaryHome home;
    const QString path = WidgetPlacementFile::standardPath();
    QProcess gone;
    gone.start("sh", {"-c", "exit 0"});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    put(WidgetListLock::lockPath(path),
        QString("%1\nsh\n%2\n").arg(pid).arg(QSysInfo::machineHostName()).toUtf8());
    QElapsedTimer timer;
    timer.start();
    {
        const WidgetListLock lock(path);
        EXPECT_LT(timer.elapsed(), 1000);
        WidgetPlacementFile::save(path, {small});
    }
    EXPECT_FALSE(QFileInfo::exists(WidgetListLock::lockPath(path)));
    EXPECT_EQ(WidgetPlacementFile::read(path).placements, QList{small});
}

TEST(WidgetPlacementsTest, AFolderThatCannotBeMadeIsNamedOnceInTheError)
{
    TemporaryHome home;
    put(home.path("file"), "not a folder");
    const QString tooLong = home.path(QString(300, 'x'));
    for (const auto &[list, said] : QList<std::pair<QString, QString>>{
             {home.path("file/sub/widgets.json"), home.path("file") + " exists and is not a directory"},
             {tooLong + "/widgets.json",
                 "could not create the directory " + tooLong + ": File name too long"}}) {
        try {
            const WidgetListLock lock(list);
            ADD_FAILURE() << "locked " << list.toStdString();
        } catch (const FileError &error) {
            // Said after the list's name, and alone, it names the folder once.
            EXPECT_EQ(error.description, said);
            EXPECT_EQ(QString::fromUtf8(error.what()), said);
        }
    }
}
