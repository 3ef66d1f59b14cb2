import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The unfolded top player in rivista: cover, the title in the skin's face
// over artist and album, progress and any error, and a column of transport,
// shuffle, volume and repeat; Spotify's logo and the panel keys in the
// top-trailing corner. No playing indicator, no ground of its own.
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
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        anchors.topMargin: 20
        anchors.bottomMargin: 20
        spacing: 24

        ArtworkButton {
            Layout.alignment: Qt.AlignVCenter
            size: 122
            radius: 4
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
            spacing: 14

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 6
                TitleText {
                    objectName: "title"
                    Layout.fillWidth: true
                    size: 26
                    text: PlaybackCoordinator.trackTitle ?? ""
                }
                // Side by side, each cut to one line; the artist keeps at least half.
                Item {
                    id: credits
                    Layout.fillWidth: true
                    implicitHeight: artist.implicitHeight
                    Text {
                        textFormat: Text.PlainText
                        id: artist
                        objectName: "artist"
                        width: Math.min(implicitWidth, Math.max(credits.width / 2, credits.width - 8 - album.implicitWidth))
                        text: PlaybackCoordinator.trackArtist ?? ""
                        color: player.Skinned.palette.text
                        font: SkinFonts.system(13)
                        maximumLineCount: 1
                        elide: Text.ElideRight
                    }
                    Text {
                        textFormat: Text.PlainText
                        id: album
                        objectName: "album"
                        x: artist.width + 8
                        width: Math.min(implicitWidth, credits.width - x)
                        text: PlaybackCoordinator.trackAlbum ?? ""
                        color: player.Skinned.palette.muted
                        font: SkinFonts.system(13)
                        maximumLineCount: 1
                        elide: Text.ElideRight
                    }
                }
            }
            ProgressControl {
                Layout.fillWidth: true
                readoutSize: 24
                onHold: editing => player.hold(editing)
            }
            ErrorLine {
                Layout.fillWidth: true
                size: 9
                lines: 1
            }
        }

        Column {
            Layout.preferredWidth: 186
            Layout.alignment: Qt.AlignVCenter
            topPadding: 22
            spacing: 16

            TransportControls {
                anchors.horizontalCenter: parent.horizontalCenter
                compact: true
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 12
                PlayerToggle {
                    anchors.verticalCenter: parent.verticalCenter
                    kind: "shuffle"
                    size: 24
                }
                VolumeControl {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 90
                    onHold: editing => player.hold(editing)
                }
                PlayerToggle {
                    anchors.verticalCenter: parent.verticalCenter
                    kind: "repeat"
                    size: 24
                }
            }
        }
    }

    Row {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.topMargin: 10
        anchors.rightMargin: 14
        spacing: 10
        Attribution {
            anchors.verticalCenter: parent.verticalCenter
        }
        PanelKeys {
            anchors.verticalCenter: parent.verticalCenter
            model: player.model
            size: 24
        }
    }
}
