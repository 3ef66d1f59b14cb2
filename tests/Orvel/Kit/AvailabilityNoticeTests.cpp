#include "AvailabilityNotice.h"
#include "QtPrinters.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
using Style = AvailabilityNotice::Style;
using Operation = AvailabilityNotice::Operation;
using A = PlayerAvailability;
} // namespace

TEST(AvailabilityNotice, EachAvailabilityHasItsMessageAndOneWayOn)
{
    const auto only = [](A availability) {
        const auto content = AvailabilityNotice::content(availability);
        EXPECT_EQ(content.actions.size(), 1);
        return content.actions.value(0);
    };
    for (const A waiting : {A::ready, A::unavailable}) {
        EXPECT_EQ(AvailabilityNotice::content(waiting).message, "Waiting for Spotify.");
        EXPECT_EQ(only(waiting),
            (AvailabilityNotice::Action{"Open Spotify", Style::primary, Operation::openSpotify}));
    }
    EXPECT_EQ(AvailabilityNotice::content(A::notInstalled).message, "Install Spotify to get started.");
    // The download page comes through the same call that opens the app.
    EXPECT_EQ(only(A::notInstalled),
        (AvailabilityNotice::Action{"Get Spotify", Style::primary, Operation::openSpotify}));
    EXPECT_EQ(AvailabilityNotice::content(A::notRunning).message, "Your next track is one click away.");
    EXPECT_EQ(only(A::notRunning).operation, Operation::openSpotify);
    EXPECT_EQ(
        AvailabilityNotice::content(A::needsPermission).message, "Connect Spotify to bring your music here.");
    EXPECT_EQ(only(A::needsPermission),
        (AvailabilityNotice::Action{"Connect Spotify", Style::primary, Operation::connect}));
    EXPECT_EQ(AvailabilityNotice::content(A::noTrack).message, "Choose something to play in Spotify.");
    EXPECT_EQ(only(A::noTrack).title, "Open Spotify");
}

TEST(AvailabilityNotice, ARefusalOffersTheSettingsAndAnotherTryButNoPrimaryButton)
{
    const auto content = AvailabilityNotice::content(A::permissionDenied);
    EXPECT_EQ(content.message,
        QString::fromUtf8("Allow Spotify control in System Settings → Privacy & Security → Automation."));
    const QList<AvailabilityNotice::Action> expected{
        {"Open System Settings", Style::bordered, Operation::openAutomationSettings},
        {"Try again", Style::plain, Operation::connect}, // the same operation as "Connect Spotify"
    };
    EXPECT_EQ(content.actions, expected);
}

TEST(AvailabilityNotice, CompactIsSmallAndLeadingFullIsCentredUnderTheMark)
{
    AvailabilityNotice notice;
    EXPECT_TRUE(notice.showsMark());
    EXPECT_TRUE(notice.centred());
    EXPECT_EQ(notice.spacing(), 18);
    EXPECT_EQ(notice.markSize(), 88);
    EXPECT_EQ(notice.markBottomPadding(), 4);
    EXPECT_EQ(notice.messageFont().pixelSize(), 14); // subhead
    EXPECT_EQ(notice.messageFont().weight(), QFont::Medium);

    QSignalSpy changes(&notice, &AvailabilityNotice::changed);
    notice.setCompact(true);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(notice.showsMark());
    EXPECT_FALSE(notice.centred());
    EXPECT_EQ(notice.spacing(), 10);
    EXPECT_EQ(notice.messageFont().pixelSize(), 13); // body
    EXPECT_EQ(notice.messageFont().weight(), QFont::Normal);
}

TEST(AvailabilityNotice, QmlReadsRawValuesAndPlainLists)
{
    AvailabilityNotice notice;
    QSignalSpy changes(&notice, &AvailabilityNotice::changed);
    notice.setAvailabilityName("permissionDenied");
    EXPECT_EQ(changes.count(), 1);
    const QVariantList actions = notice.actionList();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0].toMap().value("style").toString(), "bordered");
    EXPECT_EQ(actions[0].toMap().value("operation").toString(), "openAutomationSettings");
    EXPECT_EQ(actions[1].toMap().value("title").toString(), "Try again");
    notice.setAvailabilityName("noSuchThing");
    EXPECT_EQ(notice.availability(), PlayerAvailability::unavailable);
    EXPECT_EQ(notice.message(), "Waiting for Spotify.");
}
