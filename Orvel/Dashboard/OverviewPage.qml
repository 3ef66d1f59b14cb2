import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The page the dashboard opens on: a greeting, what plays, the two panels,
// where they appear, the widgets, and the storage warning.
Column {
    id: page

    required property Item dashboard
    readonly property DashboardMetrics metrics: DashboardMetrics { skin: page.Skinned.skin }
    readonly property bool rivista: page.Skinned.skin === "rivista"
    readonly property string scopeCaption: DashboardTexts.displayScope(Preferences.displayScope)

    function showDisplaySettings() {
        DashboardState.section = "appearance";
    }
    function showWidgetGuide() {
        page.dashboard.widgetGuide = true;
    }

    width: parent ? parent.width : implicitWidth
    spacing: metrics.pageSpacing

    Column {
        width: page.width
        spacing: page.metrics.headerSpacing
        TitleText {
            objectName: "pageTitle"
            width: parent.width
            size: page.metrics.headerTitleSize
            lines: 2
            text: Design.localized("Good music. More room.")
        }
        Text {
            textFormat: Text.PlainText
            objectName: "pageSubtitle"
            width: parent.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(page.metrics.headerSubtitleSize)
            text: Design.localized("A small home for what’s playing.")
            wrapMode: Text.Wrap
        }
    }

    NowPlayingCard {}

    // Rivista: a rule, then four ruled rows.
    Column {
        objectName: "panelGroup"
        visible: page.rivista
        width: page.width
        spacing: 0

        SectionRule {}
        SettingRow {
            width: page.width
            title: Design.localized("Top player")
            detail: Design.localized("Hover at the top to unfold your music.")
            control: SettingSwitch {
                title: Design.localized("Top player")
                isOn: Preferences.notchEnabled
                onToggled: on => Preferences.notchEnabled = on
            }
        }
        SettingRow {
            width: page.width
            title: Design.localized("Right sidebar")
            detail: Design.localized("Artwork, controls and shortcuts on the right.")
            control: SettingSwitch {
                title: Design.localized("Right sidebar")
                isOn: Preferences.sidebarEnabled
                onToggled: on => Preferences.sidebarEnabled = on
            }
        }
        SettingRow {
            width: page.width
            title: Design.localized("Displays")
            detail: page.scopeCaption
            control: TextLink {
                objectName: "manageDisplays"
                title: Design.localized("Manage displays")
                focusPolicy: Qt.StrongFocus
                onClicked: page.showDisplaySettings()
                FocusMark {}
            }
        }
        SettingRow {
            width: page.width
            title: WidgetSupport.title
            detail: WidgetSupport.subtitle
            control: TextLink {
                objectName: "widgetGuideLink"
                title: WidgetSupport.guideButtonTitle
                focusPolicy: Qt.StrongFocus
                onClicked: page.showWidgetGuide()
                FocusMark {}
            }
        }
    }

    // Classico: heading, the two cards, the widgets button, "Manage displays".
    RowLayout {
        objectName: "floatingPanelsHeading"
        visible: !page.rivista
        width: page.width
        Eyebrow {
            Layout.alignment: Qt.AlignVCenter
            text: Design.localized("Your floating panels")
        }
        Item {
            Layout.fillWidth: true
        }
        Text {
            textFormat: Text.PlainText
            Layout.alignment: Qt.AlignVCenter
            color: page.Skinned.palette.muted
            font: SkinFonts.system(10)
            text: Design.localized("Click to enable or disable")
        }
    }
    Row {
        objectName: "choiceCards"
        visible: !page.rivista
        spacing: 15
        SurfaceChoiceCard {
            objectName: "notchCard"
            width: (page.width - 15) / 2
            compact: true
            kind: "notch"
            isOn: Preferences.notchEnabled
            onToggled: on => Preferences.notchEnabled = on
        }
        SurfaceChoiceCard {
            objectName: "sidebarCard"
            width: (page.width - 15) / 2
            compact: true
            kind: "sidebar"
            isOn: Preferences.sidebarEnabled
            onToggled: on => Preferences.sidebarEnabled = on
        }
    }
    PressFeedbackStyle {
        objectName: "widgetsButton"
        visible: !page.rivista
        width: page.width
        focusPolicy: Qt.StrongFocus
        Accessible.name: WidgetSupport.title
        onClicked: page.showWidgetGuide()
        contentItem: WidgetsCard {}
        FocusMark {}
    }
    PressFeedbackStyle {
        id: manage
        objectName: "manageDisplaysButton"
        visible: !page.rivista
        width: page.width
        focusPolicy: Qt.StrongFocus
        Accessible.name: Design.localized("Manage displays")
        onClicked: page.showDisplaySettings()
        FocusMark {}
        contentItem: RowLayout {
            spacing: 7
            SymbolView {
                Layout.preferredWidth: 13
                Layout.preferredHeight: 13
                size: 13
                name: "display.2"
                color: manage.lit(page.Skinned.palette.muted)
            }
            Text {
                textFormat: Text.PlainText
                color: manage.lit(page.Skinned.palette.muted)
                font: SkinFonts.system(11)
                text: page.scopeCaption
            }
            Item {
                Layout.fillWidth: true
            }
            Text {
                textFormat: Text.PlainText
                color: manage.lit(page.Skinned.palette.muted)
                font: SkinFonts.system(11)
                text: Design.localized("Manage displays")
            }
            SymbolView {
                Layout.preferredWidth: 11
                Layout.preferredHeight: 11
                size: 11
                name: "arrow.right"
                color: manage.lit(page.Skinned.palette.muted)
            }
        }
    }

    Text {
        textFormat: Text.PlainText
        objectName: "storageWarning"
        visible: PlaybackCoordinator.storageError
        width: page.width
        color: "#ff9f0a"
        font: SkinFonts.system(11)
        text: Design.localized("Widget sharing is unavailable. Check the app’s signature and App Group configuration.")
        wrapMode: Text.Wrap
    }
}
