import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The guided setup's second page: whether Spotify is installed and connected,
// with the Automation help when control was refused. It only reads the
// coordinator; the footer connects.
Column {
    id: page

    required property OnboardingFlow flow

    spacing: 24

    OnboardingPageHeader {
        width: page.width
        title: page.flow.spotifyTitle
        subtitle: Design.localized("Orvel controls Spotify on this Mac. Your account stays in Spotify.")
    }

    SkinFill {
        objectName: "connectionCard"
        width: page.width
        radius: Radius.large
        strong: false
        padding: 28

        contentItem: RowLayout {
            spacing: 22
            MarkView {
                Layout.alignment: Qt.AlignVCenter
                Layout.preferredWidth: 72
                Layout.preferredHeight: 72
                size: 72
                variant: "full"
            }
            Row {
                objectName: "connectionDots"
                Layout.alignment: Qt.AlignVCenter
                spacing: 5
                Repeater {
                    model: 9
                    SelectionDot {
                        anchors.verticalCenter: parent.verticalCenter
                        size: 4
                        on: page.flow.connected
                    }
                }
            }
            Item {
                Layout.alignment: Qt.AlignVCenter
                Layout.preferredWidth: 110
                Layout.preferredHeight: logo.implicitHeight * 1.3
                SpotifyAttribution {
                    id: logo
                    anchors.centerIn: parent
                    scale: 1.3
                }
            }
            Item {
                Layout.fillWidth: true
            }
            Text {
                textFormat: Text.PlainText
                objectName: "connectionStatus"
                Layout.alignment: Qt.AlignVCenter
                color: page.flow.connected ? page.Skinned.palette.accent : page.Skinned.palette.muted
                font: SkinFonts.system(12, "medium")
                text: page.flow.statusText
            }
        }
    }

    Column {
        objectName: "details"
        width: page.width
        spacing: 12

        Row {
            spacing: 6
            SymbolView {
                objectName: "installedSymbol"
                anchors.verticalCenter: parent.verticalCenter
                width: 15
                height: 15
                size: 15
                name: page.flow.installedSymbol
                color: page.Skinned.palette.text
            }
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                color: page.Skinned.palette.text
                font: SkinFonts.system(13)
                text: Design.localized("Spotify on your Mac")
            }
        }
        Text {
            textFormat: Text.PlainText
            width: page.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(13)
            text: Design.localized("macOS may ask for permission to control Spotify.")
            wrapMode: Text.Wrap
        }
        Text {
            textFormat: Text.PlainText
            objectName: "permissionHelp"
            visible: page.flow.showsPermissionHelp
            width: page.width
            color: Design.color("SystemOrange")
            font: SkinFonts.system(13)
            text: Design.localized("Allow Spotify control in System Settings \u2192 Privacy & Security \u2192 Automation.")
            wrapMode: Text.Wrap
        }
        TextLink {
            objectName: "automationLink"
            visible: page.flow.showsPermissionHelp
            title: Design.localized("Open Automation settings")
            onClicked: PlaybackCoordinator.openAutomationSettings()
        }
    }
}
