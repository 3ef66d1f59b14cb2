#include "Defaults.h"
#include "PrivateFiles.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
class DefaultsTest : public ::testing::Test {
protected:
    TemporaryHome home;
    QString path() const { return home.path("config/com.velbrandtoro.Orvel/defaults.json"); }
    void writeRaw(const QByteArray &data) const
    {
        QDir().mkpath(QFileInfo(path()).path());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }
};
} // namespace

TEST_F(DefaultsTest, EveryKindSurvivesARoundTripAndStaysApartFromTheOthers)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<QString, Defaults::Value>> values{{"bool", true}, {"zero", qint64(0)},
        {"big", qint64(1) << 62}, {"wholeDouble", 1.0}, {"fraction", 0.1},
        {"nan", std::numeric_limits<double>::quiet_NaN()}, {"inf", inf}, {"minusInf", -inf},
        {"empty", QString()}, {"boolText", QStringLiteral("true")}, {"data", QByteArray("\0{\"x\"}\xff", 7)}};
    Defaults(path()).apply({values.begin(), values.end()});
    const Defaults reread(path());
    EXPECT_EQ(reread.keys().size(), qsizetype(values.size()));
    for (const auto &[key, value] : values) {
        SCOPED_TRACE(key.toStdString());
        const auto stored = reread.object(key);
        ASSERT_TRUE(stored);
        ASSERT_EQ(stored->index(), value.index());
        if (key == "nan")
            EXPECT_TRUE(std::isnan(std::get<double>(*stored)));
        else
            EXPECT_TRUE(*stored == value);
    }
    EXPECT_FALSE(reread.value<qint64>("wholeDouble"));
    EXPECT_FALSE(reread.value<bool>("boolText"));
    EXPECT_FALSE(reread.value<QString>("data"));
}

TEST_F(DefaultsTest, UnusableFilesReadAsEmptyAndAreKeptAsideWhileBadEntriesAreSkippedButKept)
{
    Defaults fresh(path());
    EXPECT_FALSE(QFileInfo::exists(path())); // nothing written before a change
    const QStringList asides{".unreadable", ".unreadable.2", ".unreadable.3"};
    const QList<QByteArray> contents{
        QByteArray("{\"a\": {\"type\":"), QByteArray("[1,2]"), QByteArray("\x89PNG\0", 5)};
    for (qsizetype i = 0; i < contents.size(); ++i) {
        SCOPED_TRACE(contents[i].toStdString());
        writeRaw(contents[i]);
        Defaults defaults(path());
        EXPECT_TRUE(defaults.keys().isEmpty());
        // Set aside before anything could write, and left alone by the first change.
        EXPECT_FALSE(QFileInfo::exists(path()));
        defaults.apply({{"a", true}, {"b", qint64(2)}});
        defaults.remove("b");
        EXPECT_EQ(Defaults(path()).keys(), QStringList{"a"});
        EXPECT_EQ(readFile(path() + asides[i]), contents[i]);
    }

    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QFile::link("/dev/zero", path()));
    EXPECT_TRUE(Defaults(path()).keys().isEmpty());
    EXPECT_EQ(QFileInfo(path() + ".unreadable.4").symLinkTarget(), "/dev/zero");

    writeRaw(R"({"good":{"type":"integer","value":7}, "fractionalInteger":{"type":"integer","value":1.5},
        "boolAsNumber":{"type":"bool","value":1}, "unknownKind":{"type":"date","value":0},
        "badBase64":{"type":"data","value":"!!"}, "untagged":true, "badDouble":{"type":"double","value":"NaN"}})");
    Defaults defaults(path());
    EXPECT_EQ(defaults.keys(), QStringList{"good"});
    EXPECT_EQ(defaults.value<qint64>("good"), 7);
    // Entries of a form we do not know are written back until their key changes.
    defaults.apply({{"good", qint64(8)}, {"untagged", false}});
    const QByteArray saved = readFile(path());
    EXPECT_TRUE(saved.contains(R"("unknownKind":{"type":"date","value":0})")) << saved.toStdString();
    EXPECT_FALSE(saved.contains(R"("untagged":true)"));
    EXPECT_EQ(Defaults(path()).keys(), (QStringList{"good", "untagged"}));
}

TEST_F(DefaultsTest, BooleanAndIntegerReadersConvertNumbersOnly)
{
    Defaults defaults(path());
    defaults.apply({{"true", true}, {"seven", qint64(7)}, {"zero", qint64(0)}, {"minus2.9", -2.9},
        {"nan", std::numeric_limits<double>::quiet_NaN()}, {"huge", 1e300}, {"text", QStringLiteral("1")},
        {"data", QByteArray("1")}});
    const std::vector<std::tuple<const char *, bool, qint64>> cases{{"true", true, 1}, {"seven", true, 7},
        {"zero", false, 0}, {"minus2.9", true, -2}, {"nan", false, 0}, {"huge", true, 0}, {"text", false, 0},
        {"data", false, 0}, {"missing", false, 0}};
    for (const auto &[key, boolean, integer] : cases) {
        EXPECT_EQ(defaults.boolean(key), boolean) << key;
        EXPECT_EQ(defaults.integer(key), integer) << key;
    }
}

TEST_F(DefaultsTest, TheStandardFileAndTheFoldersItNeedsAreTheUsersAlone)
{
    EXPECT_EQ(Defaults::standardFilePath(), home.configHome() + "/com.velbrandtoro.Orvel/defaults.json");
    Defaults defaults(path());
    defaults.set("a", true);
    EXPECT_TRUE(isUserOnly(home.path("config")));
    EXPECT_TRUE(isUserOnly(QFileInfo(path()).path()));
    EXPECT_TRUE(isUserOnly(path()));
}

TEST(PrivateFiles, AReplacedFileStaysWholeForAReaderAndFailuresLeaveItAlone)
{
    TemporaryHome home;
    const QString path = home.path("data.json");
    PrivateFiles::writeAtomically(path, "old content");
    QFile reader(path);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    PrivateFiles::writeAtomically(path, "new");
    // The new content went to another file that was renamed over the old one.
    EXPECT_EQ(reader.readAll(), "old content");
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.json"});

    EXPECT_THROW(PrivateFiles::ensureDirectory(path + "/sub"), FileError);
    EXPECT_THROW(PrivateFiles::ensureDirectory(path), FileError);
    EXPECT_THROW(PrivateFiles::writeAtomically(path + "/x.json", "{}"), FileError);
    QDir(home.path()).mkdir("taken");
    EXPECT_THROW(PrivateFiles::writeAtomically(home.path("taken"), "{}"), FileError);
    EXPECT_EQ(readFile(path), "new");
}
