import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// Who Orvel is, its version, what it does with the user's data, and where to
// get help.
Column {
    id: page

    readonly property DashboardMetrics metrics: DashboardMetrics { skin: page.Skinned.skin }
    readonly property bool rivista: page.Skinned.skin === "rivista"

    width: parent ? parent.width : implicitWidth
    spacing: metrics.pageSpacing

    SkinCard {
        objectName: "brandCard"
        width: page.width
        radius: 24
        padding: 24
        contentItem: RowLayout {
            spacing: 28
            MarkView {
                Layout.preferredWidth: 128
                Layout.preferredHeight: 128
                size: 128
                variant: "full"
            }
            Column {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignVCenter
                spacing: 8
                TitleText {
                    size: 34
                    text: Design.localized("Orvel")
                }
                Text {
                    textFormat: Text.PlainText
                    color: page.Skinned.palette.muted
                    font: SkinFonts.system(14)
                    text: Design.localized("A little room for your music.")
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "aboutVersion"
                    topPadding: 4 // 12 below the line above with the column's spacing
                    color: page.rivista ? page.Skinned.palette.accent : page.Skinned.palette.muted
                    font: page.rivista ? Typography.numeric(18) : Typography.mono(13)
                    text: DashboardTexts.versionText
                }
            }
        }
    }

    Text {
        textFormat: Text.PlainText
        objectName: "introduction"
        width: Math.min(page.width, 600)
        color: page.Skinned.palette.text
        font: SkinFonts.system(14)
        wrapMode: Text.Wrap
        lineHeightMode: Text.FixedHeight
        lineHeight: fourteen.lineSpacing + 5
        text: Design.localized("An independent companion for Spotify on macOS. Made to keep your music close while you do your thing.")
    }

    Column {
        objectName: "privacyNotes"
        width: Math.min(page.width, 600)
        spacing: 10
        Text {
            textFormat: Text.PlainText
            color: page.Skinned.palette.text
            font: SkinFonts.system(13, "semibold")
            text: Design.localized("Your privacy")
        }
        Text {
            textFormat: Text.PlainText
            width: parent.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(12)
            wrapMode: Text.Wrap
            lineHeightMode: Text.FixedHeight
            lineHeight: twelve.lineSpacing + 5
            text: Design.localized("Orvel reads the current track and sends playback controls to Spotify on this Mac. Settings, shortcuts and the current playback snapshot stay on your Mac. Album artwork is downloaded directly from Spotify’s image servers. When you paste a link into an unnamed shortcut, Orvel asks Spotify’s public link service for its name. No analytics, ads or extra accounts.")
        }
        Text {
            textFormat: Text.PlainText
            width: parent.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(12)
            wrapMode: Text.Wrap
            lineHeightMode: Text.FixedHeight
            lineHeight: twelve.lineSpacing + 5
            text: Design.localized("Disconnecting clears cached playback data and artwork. Your shortcuts remain. You can revoke Automation permission in System Settings.")
        }
    }

    Text {
        textFormat: Text.PlainText
        width: page.width
        color: page.Skinned.palette.muted
        font: SkinFonts.system(11)
        wrapMode: Text.Wrap
        text: Design.localized("Spotify is a trademark of Spotify AB. Orvel is not affiliated with or endorsed by Spotify.")
    }

    Row {
        objectName: "supportLinks"
        spacing: 22
        SupportLink {
            title: Design.localized("Open Automation settings")
            onClicked: PlaybackCoordinator.openAutomationSettings()
        }
        SupportLink {
            title: Design.localized("Support")
            onClicked: Qt.openUrlExternally(DashboardTexts.supportMail)
        }
        SupportLink {
            title: Design.localized(DashboardTexts.webHost)
            onClicked: Qt.openUrlExternally(DashboardTexts.webPage)
        }
    }

    FontMetrics {
        id: fourteen
        font: SkinFonts.system(14)
    }
    FontMetrics {
        id: twelve
        font: SkinFonts.system(12)
    }

    component SupportLink: TextLink {
        id: link
        focusPolicy: Qt.StrongFocus
        FocusMark {}
        contentItem: Text {
            textFormat: Text.PlainText
            color: page.Skinned.palette.accent
            font: SkinFonts.system(12)
            text: link.title
        }
    }
}
