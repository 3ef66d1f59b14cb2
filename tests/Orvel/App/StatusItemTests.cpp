#include "Assets.h"
#include "PopupStyle.h"
#include "ScopedIconTheme.h"
#include "StatusItem.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextBoundaryFinder>
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

// A track's title in the tray's menus: one line a display holds, cut between
// characters, with the marks each menu reads escaped.
namespace {
// What a QMenu shows of an action's text: "&&" is "&".
QString menuShows(const QString &text)
{
    QString shown = text;
    return shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
}
// What a host shows of an exported text once Qt has taken our leading "&" as
// the mnemonic: "__" is "_".
QString hostShows(const QString &text)
{
    QString shown = text.startsWith('&') ? text.mid(1) : text;
    return shown.replace(QStringLiteral("__"), QStringLiteral("_"));
}
int characters(const QString &text)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (graphemes.toNextBoundary() > 0)
        ++count;
    return count;
}
bool holdsALineBreak(const QString &text)
{
    for (const QChar c : text)
        if (QStringView(u"\r\n\t\v\f\u0085\u2028\u2029").contains(c))
            return true;
    return false;
}
QString repeated(const QString &part, qsizetype size)
{
    QString text;
    while (text.size() < size)
        text += part;
    return text;
}
} // namespace

TEST(StatusItemText, AShortTitleStaysAsItIsButForItsLineBreaksAndEachMenuEscapesItsMarks)
{
    struct Row {
        QString title;
        QString shown;
        QString action; // the QAction text of the menu a click opens
        QString exported; // the text handed to the exporting menu
    };
    const QString sep = QString(QChar(0x2028));
    for (const Row &row : {
             Row{"Holocene", "Holocene", "Holocene", "Holocene"},
             Row{"Salt & Pepper & Co_op __x", "Salt & Pepper & Co_op __x", "Salt && Pepper && Co_op __x",
                 "&Salt & Pepper & Co__op ____x"},
             Row{"  Two  spaces  ", "  Two  spaces  ", "  Two  spaces  ", "  Two  spaces  "},
             Row{"a\r\nb", "a b", "a b", "a b"},
             Row{"a\rb\nc\td\ve\ff", "a b c d e f", "a b c d e f", "a b c d e f"},
             Row{"a" + sep + "b" + QChar(0x2029) + "c" + QChar(0x85) + "d", "a b c d", "a b c d", "a b c d"},
             Row{"a\n\r\n\rb", "a   b", "a   b", "a   b"},
             Row{"\nFirst_Line\n", " First_Line ", " First_Line ", " First__Line "},
             Row{QString::fromUtf8("שלום עולם"), QString::fromUtf8("שלום עולם"),
                 QString::fromUtf8("שלום עולם"), QString::fromUtf8("שלום עולם")},
             Row{QString::fromUtf8("👍🏽 & 👨‍👩‍👧"),
                 QString::fromUtf8("👍🏽 & 👨‍👩‍👧"),
                 QString::fromUtf8("👍🏽 && 👨‍👩‍👧"),
                 QString::fromUtf8("&👍🏽 & 👨‍👩‍👧")},
         }) {
        SCOPED_TRACE(row.title.toStdString());
        EXPECT_EQ(StatusItem::oneLine(row.title), row.shown);
        EXPECT_EQ(StatusItem::actionText(row.title), row.action);
        EXPECT_EQ(StatusItem::exportedText(row.title), row.exported);
    }
}

TEST(StatusItemText, ALongTitleIsCutToOneLineADisplayHoldsBetweenTwoCharacters)
{
    const QFontMetricsF metrics(PopupStyle::menuFont().toQFont());
    const QString ellipsis(QChar(0x2026));
    for (const QString &title : {
             repeated("Lorem ipsum dolor\r\nsit amet\n", 100'000),
             repeated("x", 100'000),
             repeated("Salt & Pepper_", 100'000),
             repeated("&_", 100'000),
             repeated(QString::fromUtf8("👍🏽"), 100'000),
             repeated(QString::fromUtf8("👨‍👩‍👧 "), 100'000),
             repeated(QString::fromUtf8("e\u0301"), 100'000),
             repeated(QString::fromUtf8("שלום עולם\n"), 100'000),
             repeated(QString::fromUtf8("مرحبا بالعالم "), 100'000),
             repeated(QString::fromUtf8("漢字かな"), 100'000),
             // Characters that take no room: the cut still comes, with its ellipsis.
             repeated(QString(QChar(0x200b)), 100'000),
             // One character of ten thousand marks goes whole or not at all.
             "A" + repeated(QString(QChar(0x0301)), 10'000) + "B",
             QString(59, 'x') + QString::fromUtf8("👍🏽 and more after the cut"),
             QString(58, 'x') + "\r\n and more after the cut",
         }) {
        SCOPED_TRACE(title.left(24).toStdString());
        const QString line = StatusItem::oneLine(title);
        const auto startsTheLine = [&](const QString &shown) {
            // What is shown before the ellipsis starts the line and ends between two characters.
            const QString kept = shown.endsWith(ellipsis) ? shown.chopped(1) : shown;
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
            graphemes.setPosition(kept.size());
            return line.startsWith(kept) && graphemes.isAtBoundary() && kept.isValidUtf16();
        };

        const QString exported = hostShows(StatusItem::exportedText(title));
        EXPECT_LE(characters(exported), StatusItem::exportedTitleCharacters);
        EXPECT_TRUE(exported.endsWith(ellipsis)) << exported.toStdString();
        EXPECT_TRUE(startsTheLine(exported)) << exported.toStdString();
        EXPECT_FALSE(holdsALineBreak(exported));

        const QString action = menuShows(StatusItem::actionText(title));
        EXPECT_LE(metrics.horizontalAdvance(action), StatusItem::titleWidth);
        EXPECT_TRUE(action.endsWith(ellipsis)) << action.toStdString();
        EXPECT_TRUE(startsTheLine(action)) << action.toStdString();
        EXPECT_FALSE(holdsALineBreak(action));
        // Every "&" and "_" shown is escaped, the cut never splits a pair.
        EXPECT_EQ(StatusItem::actionText(title).count('&'), 2 * action.count('&'));
    }
}

TEST(StatusItemText, ShorteningCountsCharactersNotCodeUnits)
{
    const QString thumb = QString::fromUtf8("👍🏽"); // four code units, one character
    const QString ellipsis(QChar(0x2026));
    struct Row {
        QString title;
        int characters;
        QString shortened;
    };
    for (const Row &row : {
             Row{"abc", 3, "abc"},
             Row{"abcd", 3, "ab" + ellipsis},
             Row{thumb + thumb + thumb, 3, thumb + thumb + thumb},
             Row{thumb + thumb + thumb + thumb, 3, thumb + thumb + ellipsis},
             // CR LF is one character.
             Row{"a\r\nb", 3, "a\r\nb"},
             Row{"a\r\nbc", 3, "a\r\n" + ellipsis},
             Row{"", 3, ""},
         }) {
        SCOPED_TRACE(row.title.toStdString());
        EXPECT_EQ(StatusItem::shortened(row.title, row.characters), row.shortened);
    }
}
