import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The music sidebar in rivista: the brand and the panel keys over a
// scrolling column of the cover edge to edge, the player (or the
// availability notice), any error, the shortcuts and Spotify's logo.
// No ground of its own.
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
        x: 18
        y: 16
        width: sidebar.width - 36
        spacing: 8
        MarkView {
            Layout.preferredWidth: 22
            Layout.preferredHeight: 22
            size: 22
        }
        Text {
            textFormat: Text.PlainText
            objectName: "wordMark"
            text: qsTr("Orvel")
            color: sidebar.Skinned.palette.text
            font: Typography.display(15)
        }
        Item {
            Layout.fillWidth: true
        }
        PanelKeys {
            model: sidebar.model
            size: 26
            includesClose: true
        }
    }

    Flickable {
        objectName: "scroll"
        y: header.y + header.height + 12
        height: sidebar.height - y
        width: sidebar.width
        clip: true
        contentWidth: width
        contentHeight: column.implicitHeight
        boundsBehavior: Flickable.StopAtBounds

        Column {
            id: column
            width: sidebar.width

            ArtworkButton {
                objectName: "cover"
                visible: sidebar.ready
                size: sidebar.width
                radius: 0
            }
            ColumnLayout {
                x: 20
                width: sidebar.width - 40
                spacing: 16
                // Top and bottom padding.
                Item {
                    Layout.preferredHeight: 18 - parent.spacing
                }

                RowLayout {
                    visible: sidebar.ready
                    Layout.fillWidth: true
                    spacing: 10
                    ColumnLayout {
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignTop
                        spacing: 6
                        TitleText {
                            objectName: "title"
                            Layout.fillWidth: true
                            size: 28
                            lines: 2
                            text: PlaybackCoordinator.trackTitle ?? ""
                        }
                        Text {
                            textFormat: Text.PlainText
                            objectName: "artist"
                            Layout.fillWidth: true
                            text: PlaybackCoordinator.trackArtist ?? ""
                            color: sidebar.Skinned.palette.text
                            font: SkinFonts.system(13)
                            maximumLineCount: 1
                            elide: Text.ElideRight
                        }
                        Text {
                            textFormat: Text.PlainText
                            objectName: "album"
                            Layout.fillWidth: true
                            text: PlaybackCoordinator.trackAlbum ?? ""
                            color: sidebar.Skinned.palette.muted
                            font: SkinFonts.system(11)
                            maximumLineCount: 1
                            elide: Text.ElideRight
                        }
                    }
                    Item {
                        Layout.minimumWidth: 8
                    }
                    Attribution {
                        Layout.alignment: Qt.AlignTop
                        Layout.topMargin: 4
                    }
                }
                ProgressControl {
                    visible: sidebar.ready
                    Layout.fillWidth: true
                    readoutSize: 28
                    onHold: editing => sidebar.hold(editing)
                }
                PlayingIndicator {
                    visible: sidebar.ready && indicatorState.shown
                    Layout.fillWidth: true
                    playing: PlaybackCoordinator.isPlaying
                    compact: false
                    regularHeight: 22
                    settings: Preferences.visualizer
                    lightEffects: Preferences.lightEffects
                }
                TransportControls {
                    visible: sidebar.ready
                    Layout.alignment: Qt.AlignHCenter
                    compact: false
                }
                RowLayout {
                    visible: sidebar.ready
                    Layout.fillWidth: true
                    spacing: 12
                    PlayerToggle {
                        kind: "shuffle"
                        size: 28
                    }
                    Item {
                        Layout.fillWidth: true
                        Layout.minimumWidth: 8
                    }
                    VolumeControl {
                        Layout.preferredWidth: 150
                        onHold: editing => sidebar.hold(editing)
                    }
                    Item {
                        Layout.fillWidth: true
                        Layout.minimumWidth: 8
                    }
                    PlayerToggle {
                        kind: "repeat"
                        size: 28
                    }
                }
                AvailabilityView {
                    visible: !sidebar.ready
                    Layout.fillWidth: true
                    Layout.topMargin: 26
                    Layout.bottomMargin: 26
                    compact: false
                }
                ErrorLine {
                    Layout.fillWidth: true
                    size: 11
                }
                ShortcutListView {
                    Layout.fillWidth: true
                    Layout.topMargin: 6
                }
                SidebarFooter {
                    Layout.fillWidth: true
                    Layout.topMargin: 4
                }
                Item {
                    Layout.preferredHeight: 18 - parent.spacing
                }
            }
        }
    }
}
