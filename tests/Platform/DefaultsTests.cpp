#include "Defaults.h"
#include "PrivateFiles.h"
#include "QtPrinters.h"
#include "TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
void writeRaw(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

class DefaultsTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString path() const
    {
        return root.filePath(QStringLiteral("config/com.velbrandtoro.Orvel/defaults.json"));
    }
};
} // namespace

TEST_F(DefaultsTest, EveryKindSurvivesARoundTripAndStaysApartFromTheOthers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<QString, Defaults::Value>> values{
        {"bool", true},
        {"zero", qint64(0)},
        {"bigInteger", qint64(1) << 62},
        {"wholeDouble", 1.0},
        {"fraction", 0.1},
        {"nan", nan},
        {"inf", inf},
        {"minusInf", -inf},
        {"emptyString", QString()},
        {"textThatLooksLikeABool", QStringLiteral("true")},
        {"data", QByteArray("\0{\"x\":1}\xff", 10)},
    };
    {
        Defaults defaults(path());
        for (const auto &[key, value] : values)
            defaults.set(key, value);
    }
    Defaults reread(path());
    EXPECT_EQ(reread.keys().size(), qsizetype(values.size()));
    for (const auto &[key, value] : values) {
        SCOPED_TRACE(key.toStdString());
        const auto stored = reread.object(key);
        ASSERT_TRUE(stored);
        ASSERT_EQ(stored->index(), value.index());
        if (const double *d = std::get_if<double>(&value); d && std::isnan(*d))
            EXPECT_TRUE(std::isnan(std::get<double>(*stored)));
        else
            EXPECT_TRUE(*stored == value);
    }
    // Readers that ask for another kind get nothing.
    EXPECT_FALSE(reread.value<qint64>("wholeDouble"));
    EXPECT_FALSE(reread.value<bool>("textThatLooksLikeABool"));
    EXPECT_FALSE(reread.value<QString>("data"));
    EXPECT_FALSE(reread.value<double>("zero"));
}

TEST_F(DefaultsTest, NothingIsWrittenBeforeTheFirstChangeAndRemovalsArePersisted)
{
    {
        Defaults defaults(path());
        EXPECT_FALSE(defaults.object("anything"));
        EXPECT_FALSE(QFileInfo::exists(path()));
        defaults.apply({{"a", QStringLiteral("x")}, {"b", qint64(2)}, {"c", true}});
        defaults.apply({{"b", std::nullopt}, {"missing", std::nullopt}});
    }
    Defaults reread(path());
    EXPECT_EQ(reread.keys(), (QStringList{"a", "c"}));
}

TEST_F(DefaultsTest, UnusableFilesReadAsEmptyAndAreKeptUntilAChange)
{
    const std::vector<std::pair<const char *, QByteArray>> cases{
        {"not JSON", "{\"a\": {\"type\":"},
        {"an array", "[1,2,3]"},
        {"binary", QByteArray("\x89PNG\r\n\0\0", 8)},
    };
    for (const auto &[name, content] : cases) {
        SCOPED_TRACE(name);
        writeRaw(path(), content);
        Defaults defaults(path());
        EXPECT_TRUE(defaults.keys().isEmpty());
        EXPECT_EQ(readFile(path()), content);
        defaults.set("a", true);
        EXPECT_EQ(Defaults(path()).value<bool>("a"), true);
    }
}

TEST_F(DefaultsTest, MalformedEntriesAreSkippedAndTheRestIsRead)
{
    writeRaw(path(),
        R"({"good":{"type":"integer","value":7},
            "fractionalInteger":{"type":"integer","value":1.5},
            "boolAsNumber":{"type":"bool","value":1},
            "unknownKind":{"type":"date","value":0},
            "badBase64":{"type":"data","value":"!!"},
            "untagged":true,
            "badDouble":{"type":"double","value":"NaN"}})");
    Defaults defaults(path());
    EXPECT_EQ(defaults.keys(), QStringList{"good"});
    EXPECT_EQ(defaults.value<qint64>("good"), 7);
}

TEST_F(DefaultsTest, BooleanAndIntegerReadersConvertLikeThePlatformDefaults)
{
    Defaults defaults(path());
    defaults.apply({{"true", true}, {"false", false}, {"zero", qint64(0)}, {"seven", qint64(7)},
        {"half", 0.5}, {"minusTwoPointNine", -2.9}, {"nan", std::numeric_limits<double>::quiet_NaN()},
        {"huge", 1e300}, {"text", QStringLiteral("1")}, {"data", QByteArray("1")}});
    struct Case {
        const char *key;
        bool boolean;
        qint64 integer;
    };
    for (const Case &c : std::vector<Case>{{"true", true, 1}, {"false", false, 0}, {"zero", false, 0},
             {"seven", true, 7}, {"half", true, 0}, {"minusTwoPointNine", true, -2}, {"nan", false, 0},
             {"huge", true, 0}, {"text", false, 0}, {"data", false, 0}, {"missing", false, 0}}) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(defaults.boolean(c.key), c.boolean);
        EXPECT_EQ(defaults.integer(c.key), c.integer);
    }
}

TEST_F(DefaultsTest, TheFileAndTheDirectoriesItNeededAreTheUsersAlone)
{
    Defaults defaults(path());
    defaults.set("a", true);
    EXPECT_TRUE(isUserOnly(root.filePath("config")));
    EXPECT_TRUE(isUserOnly(QFileInfo(path()).path()));
    EXPECT_TRUE(isUserOnly(path()));
}

TEST_F(DefaultsTest, TheStandardFileFollowsXdgConfigHome)
{
    {
        TemporaryHome home;
        EXPECT_EQ(Defaults::standardFilePath(), home.configHome() + "/com.velbrandtoro.Orvel/defaults.json");
    }
    Defaults installed(path());
    Defaults::setStandard(&installed);
    EXPECT_EQ(&Defaults::standard(), &installed);
    Defaults::setStandard(nullptr);
}

TEST(PrivateFiles, AReplacedFileStaysWholeForAReaderThatHadItOpen)
{
    QTemporaryDir root;
    const QString path = root.filePath("data.json");
    PrivateFiles::writeAtomically(path, "old content");
    QFile reader(path);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    PrivateFiles::writeAtomically(path, "new");
    // The new content went to another file that was renamed over the old one.
    EXPECT_EQ(reader.readAll(), "old content");
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.json"});
}

TEST(PrivateFiles, FailuresAreThrownAndLeaveTheOldFile)
{
    QTemporaryDir root;
    const QString blocker = root.filePath("blocker");
    PrivateFiles::writeAtomically(blocker, "a file, not a directory");
    EXPECT_THROW(PrivateFiles::ensureDirectory(blocker + "/sub"), FileError);
    EXPECT_THROW(PrivateFiles::ensureDirectory(blocker), FileError);
    EXPECT_THROW(PrivateFiles::writeAtomically(blocker + "/x.json", "{}"), FileError);
    // A directory standing where the file should go cannot be replaced.
    QDir(root.path()).mkdir("taken");
    EXPECT_THROW(PrivateFiles::writeAtomically(root.filePath("taken"), "{}"), FileError);
    EXPECT_TRUE(QFileInfo(root.filePath("taken")).isDir());
    EXPECT_EQ(readFile(blocker), "a file, not a directory");
}
