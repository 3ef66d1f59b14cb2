import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The unfolded top player in classico: cover, the track with its progress
// and any error, and a column of indicator, transport, shuffle, volume and
// repeat; the panel keys in the top-trailing corner. No ground of its own.
Item {
    id: player

    property PanelModel model: null

    function hold(editing) {
        if (player.model)
            player.model.setInteracting(editing)
    }

    implicitWidth: 620
    implicitHeight: 184

    RowLayout {
        anchors.fill: parent
        anchors.margins: 22
        spacing: 22

        ArtworkButton {
            Layout.alignment: Qt.AlignVCenter
            size: 124
            radius: 8
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
            spacing: 8

            Attribution {}
            Column {
                Layout.fillWidth: true
                spacing: 3
                Text {
                    textFormat: Text.PlainText
                    objectName: "title"
                    width: parent.width
                    text: PlaybackCoordinator.trackTitle ?? ""
                    color: player.Skinned.palette.text
                    font: SkinFonts.system(17, "semibold")
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "artist"
                    width: parent.width
                    text: PlaybackCoordinator.trackArtist ?? ""
                    color: player.Skinned.palette.muted
                    font: SkinFonts.system(12)
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "album"
                    width: parent.width
                    text: PlaybackCoordinator.trackAlbum ?? ""
                    color: player.Skinned.palette.muted
                    opacity: 0.8
                    font: SkinFonts.system(10)
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
            }
            ProgressControl {
                Layout.fillWidth: true
                onHold: editing => player.hold(editing)
            }
            ErrorLine {
                Layout.fillWidth: true
                size: 9
                lines: 2
            }
        }

        Column {
            Layout.preferredWidth: 174
            Layout.alignment: Qt.AlignVCenter
            topPadding: 23
            spacing: 12

            PlayingIndicator {
                width: parent.width
                playing: PlaybackCoordinator.isPlaying
                compact: false
                regularHeight: 18
                settings: Preferences.visualizer
                lightEffects: Preferences.lightEffects
            }
            TransportControls {
                anchors.horizontalCenter: parent.horizontalCenter
                compact: true
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 7
                PlayerToggle {
                    anchors.verticalCenter: parent.verticalCenter
                    kind: "shuffle"
                    size: 25
                }
                VolumeControl {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 92
                    onHold: editing => player.hold(editing)
                }
                PlayerToggle {
                    anchors.verticalCenter: parent.verticalCenter
                    kind: "repeat"
                    size: 25
                }
            }
        }
    }

    PanelKeys {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.topMargin: 9
        anchors.rightMargin: 12
        model: player.model
        size: 25
    }
}
