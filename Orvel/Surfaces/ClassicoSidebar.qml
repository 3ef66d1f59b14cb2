import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The music sidebar in classico: the brand and the panel keys over a
// scrolling column of the player (or the availability notice), any error,
// the shortcuts and Spotify's logo. No ground of its own.
Item {
    id: sidebar

    property PanelModel model: null
    readonly property bool ready: PlaybackCoordinator.availability === "ready"

    function hold(editing) {
        if (sidebar.model)
            sidebar.model.setInteracting(editing)
    }

    implicitWidth: 344
    implicitHeight: 728

    RowLayout {
        id: header
        x: 20
        width: sidebar.width - 40
        height: implicitHeight + 32
        spacing: 8
        MarkView {
            Layout.preferredWidth: 23
            Layout.preferredHeight: 23
            size: 23
        }
        Text {
            textFormat: Text.PlainText
            objectName: "wordMark"
            text: qsTr("Orvel")
            color: sidebar.Skinned.palette.text
            font: SkinFonts.system(15, "semibold")
        }
        Item {
            Layout.fillWidth: true
        }
        PanelKeys {
            model: sidebar.model
            size: 30
            includesClose: true
        }
    }
    SectionRule {
        id: rule
        anchors.top: header.bottom
        width: sidebar.width
    }

    Flickable {
        objectName: "scroll"
        anchors.top: rule.bottom
        anchors.bottom: parent.bottom
        width: sidebar.width
        clip: true
        contentWidth: width
        contentHeight: content.implicitHeight + 40
        boundsBehavior: Flickable.StopAtBounds

        ColumnLayout {
            id: content
            x: 20
            y: 20
            width: sidebar.width - 40
            spacing: 18

            ArtworkButton {
                visible: sidebar.ready
                Layout.alignment: Qt.AlignHCenter
                size: 190
                radius: 8
            }
            Column {
                visible: sidebar.ready
                Layout.fillWidth: true
                spacing: 5
                RowLayout {
                    width: parent.width
                    Eyebrow {
                        text: Design.localized("Now playing")
                    }
                    Item {
                        Layout.fillWidth: true
                    }
                    Attribution {}
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "title"
                    width: parent.width
                    text: PlaybackCoordinator.trackTitle ?? ""
                    color: sidebar.Skinned.palette.text
                    font: SkinFonts.system(23, "semibold")
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "artist"
                    width: parent.width
                    text: PlaybackCoordinator.trackArtist ?? ""
                    color: sidebar.Skinned.palette.muted
                    font: SkinFonts.system(13)
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "album"
                    width: parent.width
                    text: PlaybackCoordinator.trackAlbum ?? ""
                    color: sidebar.Skinned.palette.muted
                    opacity: 0.75
                    font: SkinFonts.system(11)
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
            }
            ProgressControl {
                visible: sidebar.ready
                Layout.fillWidth: true
                onHold: editing => sidebar.hold(editing)
            }
            RowLayout {
                visible: sidebar.ready
                Layout.fillWidth: true
                PlayerToggle {
                    kind: "shuffle"
                    size: 30
                }
                Item {
                    Layout.fillWidth: true
                }
                TransportControls {
                    compact: false
                }
                Item {
                    Layout.fillWidth: true
                }
                PlayerToggle {
                    kind: "repeat"
                    size: 30
                }
            }
            VolumeControl {
                visible: sidebar.ready
                Layout.fillWidth: true
                Layout.leftMargin: 35
                Layout.rightMargin: 35
                onHold: editing => sidebar.hold(editing)
            }
            PlayingIndicator {
                visible: sidebar.ready && indicatorState.shown
                Layout.fillWidth: true
                playing: PlaybackCoordinator.isPlaying
                compact: false
                settings: Preferences.visualizer
                lightEffects: Preferences.lightEffects
            }
            AvailabilityView {
                visible: !sidebar.ready
                Layout.fillWidth: true
                Layout.topMargin: 35
                Layout.bottomMargin: 35
                compact: false
            }
            ErrorLine {
                Layout.fillWidth: true
                size: 11
            }
            SectionRule {
                Layout.fillWidth: true
            }
            ShortcutListView {
                Layout.fillWidth: true
            }
            SidebarFooter {
                Layout.fillWidth: true
            }
        }
    }
}
