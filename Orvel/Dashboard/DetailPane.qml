import QtQuick
import Orvel
import Orvel.Shared

// The scrolling column of the selected section's page: padded by the skin,
// at most 880 wide with its padding, kept at the leading edge. Every section
// opens at its top.
Item {
    id: pane

    required property Item dashboard
    readonly property DashboardMetrics metrics: DashboardMetrics { skin: pane.Skinned.skin }
    readonly property string section: DashboardState.section
    readonly property alias flickable: flick

    onSectionChanged: flick.contentY = 0

    Flickable {
        id: flick
        objectName: "detailScroll"
        y: pane.metrics.scrollTop
        width: pane.width
        height: pane.height - pane.metrics.scrollTop
        clip: true
        contentWidth: width
        contentHeight: page.y + page.height + pane.metrics.detailBottom
        boundsBehavior: Flickable.StopAtBounds
        interactive: contentHeight > height

        Loader {
            id: page
            objectName: "page"
            x: pane.metrics.detailLeading
            y: pane.metrics.detailTop
            width: pane.metrics.columnWidth(pane.width) - pane.metrics.detailLeading - pane.metrics.detailTrailing
            sourceComponent: {
                switch (pane.section) {
                case "overview":
                    return overview;
                case "about":
                    return about;
                case "shortcuts":
                    return shortcuts;
                case "appearance":
                    return preferences;
                default:
                    return appearance;
                }
            }
        }
    }

    Component {
        id: overview
        OverviewPage {
            dashboard: pane.dashboard
        }
    }
    Component {
        id: about
        AboutPage {}
    }
    Component {
        id: shortcuts
        ShortcutsPage {
            dashboard: pane.dashboard
        }
    }
    Component {
        id: preferences
        PreferencesSection {
            dashboard: pane.dashboard
        }
    }
    Component {
        id: appearance
        AppearancePage {}
    }
}
