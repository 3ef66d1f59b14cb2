#include "OrvelWidgetBundle.h"
#include "QtPrinters.h"
#include "WidgetFixtures.h"
#include "WidgetHostCommand.h"
#include "WidgetPlacements.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {
struct Outcome {
    int status = 0;
    QString out;
    QString err;
};

class WidgetHostCommandTest : public ::testing::Test {
protected:
    AppGroupFixture group;
    const QList<WidgetConfiguration> widgets = OrvelWidgetBundle().body();

    Outcome run(QStringList arguments)
    {
        arguments.prepend("orvel-widget-host");
        QString error;
        auto command = WidgetHostCommand::parse(arguments, &error);
        if (!command)
            return {2, {}, error};
        command->program = "/usr/bin/orvel-widget-host";
        Outcome outcome;
        QTextStream out(&outcome.out);
        QTextStream err(&outcome.err);
        outcome.status = command->execute(widgets, out, err);
        return outcome;
    }
    QList<WidgetPlacement> placed() const
    {
        return WidgetPlacementFile::read(WidgetPlacementFile::standardPath()).placements;
    }
};

// The real program, on the build tree's plug-in, in the fixture's home.
Outcome runProgram(const QStringList &arguments)
{
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(ORVEL_WIDGET_HOST_BINARY, arguments);
    if (!process.waitForFinished(30000))
        return {-1, {}, "did not finish"};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError())};
}
} // namespace

TEST_F(WidgetHostCommandTest, AFamilyTheWidgetLacksIsRefused)
{
    const Outcome outcome = run({"--add", "OrvelNowPlaying", "--family", "large"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "Now playing (OrvelNowPlaying) comes in small and medium, not large.\n");
    EXPECT_FALSE(QFileInfo::exists(WidgetPlacementFile::standardPath()));
    EXPECT_EQ(run({"--add", "OrvelWeather", "--family", "small"}).status, 1);
}

TEST_F(WidgetHostCommandTest, AddedWidgetsStackUnlessPlacedAndStartTheHostAtLogin)
{
    EXPECT_EQ(run({"--add", "OrvelNowPlaying", "--family", "small"}).status, 0);
    EXPECT_EQ(run({"--add", "OrvelShortcuts", "--family", "systemLarge"}).status, 0);
    EXPECT_EQ(
        run({"--add", "OrvelShortcuts", "--family", "medium", "--at", "900,30", "--screen", "DP-2"}).status,
        0);
    EXPECT_EQ(placed(),
        (QList<WidgetPlacement>{{"OrvelNowPlaying", WidgetFamily::systemSmall, "", {24, 24}},
            {"OrvelShortcuts", WidgetFamily::systemLarge, "", {24, 210}},
            {"OrvelShortcuts", WidgetFamily::systemMedium, "DP-2", {900, 30}}}));
    EXPECT_TRUE(
        readFile(WidgetHostAutostart::standardPath()).contains("Exec=\"/usr/bin/orvel-widget-host\""));

    EXPECT_EQ(run({"--remove", "2"}).status, 0);
    EXPECT_EQ(placed().size(), 2);
    EXPECT_EQ(placed()[1].screen, "DP-2");
    EXPECT_EQ(run({"--remove", "3"}).status, 1);
    run({"--remove", "1"});
    run({"--remove", "1"});
    EXPECT_TRUE(placed().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(WidgetHostAutostart::standardPath()));
}

TEST_F(WidgetHostCommandTest, TheListShowsPlacedWidgetsAndEveryKind)
{
    run({"--add", "OrvelShortcuts", "--family", "medium"});
    const Outcome outcome = run({"--list"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
        "Placed widgets:\n"
        "  1. Your shortcuts (OrvelShortcuts), medium, primary screen at 24,24\n"
        "Widgets:\n"
        "  OrvelNowPlaying: Now playing. Your current Spotify track and playback controls. "
        "Families: small and medium.\n"
        "  OrvelShortcuts: Your shortcuts. Tracks, albums and playlists, always within reach. "
        "Families: medium and large.\n");
}

TEST_F(WidgetHostCommandTest, ArgumentsThatMakeNoSenseAreRefused)
{
    EXPECT_EQ(run({"--add", "OrvelShortcuts"}).status, 2);
    EXPECT_EQ(run({"--add", "OrvelShortcuts", "--family", "huge"}).status, 2);
    EXPECT_EQ(run({"--add", "OrvelShortcuts", "--family", "medium", "--at", "12"}).status, 2);
    EXPECT_EQ(
        run({"--render", "OrvelShortcuts", "--family", "medium", "--mode", "dim", "--out", "x.png"}).status,
        2);
    EXPECT_EQ(run({"--render", "OrvelShortcuts", "--family", "medium", "--mode", "vibrant"}).status, 2);
    EXPECT_EQ(run({"--remove", "0"}).status, 2);
    EXPECT_EQ(run({"--list", "--remove", "1"}).status, 2);
    EXPECT_EQ(run({"--list", "--scale", "nan"}).err, "--scale takes a number from 0.25 to 8");
    EXPECT_EQ(run({"--add", "OrvelShortcuts", "--family", "medium", "--at", "1000001,0"}).status, 2);
}

TEST_F(WidgetHostCommandTest, TheProgramRefusesAFamilyWithAMessage)
{
    const Outcome outcome = runProgram({"--add", "OrvelNowPlaying", "--family", "large"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(outcome.err.contains("comes in small and medium, not large")) << outcome.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(WidgetPlacementFile::standardPath()));
}

TEST_F(WidgetHostCommandTest, TheProgramDrawsEveryKindInItsFamiliesAndModesWithoutTouchingTheFiles)
{
    group.write(fixtures::playing());
    group.write(fixtures::shortcuts(5));
    group.write(Skin::rivista);
    group.putArtwork("cover.jpg");
    const auto before = group.contents();
    const QTemporaryDir out;
    const QMap<QString, QStringList> families{
        {"OrvelNowPlaying", {"small", "medium"}}, {"OrvelShortcuts", {"medium", "large"}}};
    for (const QString &kind : families.keys()) {
        for (const QString &family : families[kind]) {
            for (const char *mode : {"fullColor", "accented", "vibrant"}) {
                const QString file = out.filePath(QString("%1-%2-%3.png").arg(kind, family, mode));
                const Outcome outcome
                    = runProgram({"--render", kind, "--family", family, "--mode", mode, "--out", file});
                EXPECT_EQ(outcome.status, 0) << file.toStdString() << outcome.err.toStdString();
                const QImage picture(file);
                EXPECT_EQ(picture.size(), WidgetMetrics::size(*WidgetHostCommand::familyNamed(family)))
                    << file.toStdString();
            }
        }
    }
    const Outcome placeholder = runProgram({"--render", "OrvelShortcuts", "--family", "medium", "--mode",
        "fullColor", "--placeholder", "--out", out.filePath("placeholder.png")});
    EXPECT_EQ(placeholder.status, 0);
    // A family the kind does not come in is refused, as --add refuses it.
    const QString refused = out.filePath("refused.png");
    const Outcome small = runProgram(
        {"--render", "OrvelShortcuts", "--family", "small", "--mode", "fullColor", "--out", refused});
    EXPECT_NE(small.status, 0);
    EXPECT_TRUE(small.err.contains("comes in medium and large, not small")) << small.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(refused));
    EXPECT_EQ(group.contents(), before);
}
