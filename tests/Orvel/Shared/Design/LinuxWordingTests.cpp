#include "Localization.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTranslator>
#include <gtest/gtest.h>

// Texts that send the user to places of another desktop must read in Linux
// words: each needs its entry in the app's table of Linux words.
namespace {
struct Literal {
    QString file;
    int line = 0;
    QString text;
};

// The character after a backslash at source[i]; \uXXXX gives its code point.
void unescape(const QString &source, qsizetype &i, QString &out)
{
    bool ok = false;
    const uint code = source[i] == u'u' ? source.mid(i + 1, 4).toUInt(&ok, 16) : 0;
    out += ok ? QChar(char16_t(code)) : source[i];
    i += ok ? 4 : 0;
}

// The string literals of a C++ or QML source, comments left out; adjacent
// C++ literals are joined as the compiler joins them.
QList<Literal> literals(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString source = QString::fromUtf8(file.readAll());
    const bool qml = path.endsWith(QLatin1String(".qml"));
    QList<Literal> found;
    int line = 1;
    bool joinNext = false;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c == u'\n') {
            ++line;
            continue;
        }
        if (c == u'/' && i + 1 < source.size() && source[i + 1] == u'/') {
            while (i < source.size() && source[i] != u'\n')
                ++i;
            --i;
            continue;
        }
        if (c == u'/' && i + 1 < source.size() && source[i + 1] == u'*') {
            const qsizetype end = source.indexOf(QLatin1String("*/"), i + 2);
            line += source.mid(i, (end < 0 ? source.size() : end) - i).count(u'\n');
            i = end < 0 ? source.size() : end + 1;
            continue;
        }
        if (!qml && c == u'R' && source.mid(i + 1, 1) == QLatin1String("\"")) {
            const qsizetype open = source.indexOf(u'(', i);
            const QString delimiter = u')' + source.mid(i + 2, open - i - 2) + u'"';
            const qsizetype close = source.indexOf(delimiter, open);
            const QString text = source.mid(open + 1, close - open - 1);
            found << Literal{path, line, text};
            line += text.count(u'\n');
            i = close + delimiter.size() - 1;
            continue;
        }
        const bool quote = c == u'"' || (qml && c == u'\'');
        if (!qml && c == u'\'') {
            // A character literal: skip it so a quote inside does not open a string.
            for (++i; i < source.size() && source[i] != u'\''; ++i)
                if (source[i] == u'\\')
                    ++i;
            continue;
        }
        if (!quote) {
            if (!c.isSpace())
                joinNext = false;
            continue;
        }
        QString text;
        for (++i; i < source.size() && source[i] != c; ++i) {
            if (source[i] == u'\\') {
                ++i;
                unescape(source, i, text);
            } else {
                text += source[i];
            }
        }
        if (joinNext && !found.isEmpty())
            found.last().text += text;
        else
            found << Literal{path, line, text};
        joinNext = !qml;
    }
    return found;
}

const QRegularExpression otherDesktop(QStringLiteral(
    "\\bMac\\b|macOS|System Settings|Login Items|Notification Center|menu bar|Choose Edit Widgets"
    "|Right-click an empty area|in your preferred size"));

QString sourceRoot()
{
    return QDir(QStringLiteral(ORVEL_TEST_FIXTURES "/../..")).canonicalPath();
}
} // namespace

TEST(LinuxWording, IsInstalledOnceAndGivesTheLinuxWords)
{
    EXPECT_TRUE(installLinuxWording());
    EXPECT_TRUE(installLinuxWording()); // already there: nothing more
    EXPECT_EQ(localized("On this Mac"), "On this computer");
    EXPECT_EQ(localized("Open System Settings"), "Ask Again");
    // Texts without a Linux wording read as their keys.
    EXPECT_EQ(localized("Open Spotify"), "Open Spotify");
    EXPECT_EQ(localized("Play %@", {"Morning"}), "Play Morning");
}

TEST(LinuxWording, EveryTextNamingAnotherDesktopsPlacesHasLinuxWords)
{
    ASSERT_TRUE(installLinuxWording());
    const QString root = sourceRoot();
    int scanned = 0;
    QStringList missing;
    for (const char *folder : {"Orvel", "OrvelWidgets", "Platform", "WidgetHost"}) {
        QDirIterator it(root + u'/' + QLatin1String(folder), {"*.cpp", "*.h", "*.qml"}, QDir::Files,
            QDirIterator::Subdirectories);
        while (it.hasNext()) {
            ++scanned;
            for (const Literal &literal : literals(it.next())) {
                if (!literal.text.contains(otherDesktop))
                    continue;
                const QString wording = localized(literal.text);
                if (wording == literal.text || wording.contains(otherDesktop))
                    missing << QStringLiteral("%1:%2: %3")
                                   .arg(QDir(root).relativeFilePath(literal.file))
                                   .arg(literal.line)
                                   .arg(literal.text);
            }
        }
    }
    EXPECT_GT(scanned, 100); // the tree was found
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}

TEST(LinuxWording, TheNotchsTextsNameTheTopPlayerWhereNoDisplayHasANotch)
{
    const char *wings = "Next to the notch while the player is open. On other screens, beside the header.";
    struct Row {
        const char *key;
        bool notch;
        const char *words; // nothing: the key itself
    };
    for (const Row &row : {Row{"Notch player", false, "Top player"}, Row{"Notch player", true, nullptr},
             Row{"Beside the notch", false, "Beside the header"}, Row{"Beside the notch", true, nullptr},
             Row{wings, false, "Next to the top player\u2019s header while it is open."},
             Row{wings, true, nullptr}, Row{"On this Mac", false, "On this computer"},
             Row{"On this Mac", true, "On this computer"}}) {
        SCOPED_TRACE(testing::Message() << row.key << (row.notch ? " with" : " without") << " a notch");
        const std::unique_ptr<QTranslator> words = linuxWording(row.notch);
        ASSERT_TRUE(words);
        EXPECT_EQ(
            words->translate("Localizable", row.key), row.words ? QString::fromUtf8(row.words) : QString());
    }
}
