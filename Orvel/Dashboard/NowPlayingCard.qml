import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// What plays, with its controls: the availability notice unless Spotify is
// ready, else a card (classico) or two open rows that the page spaces (rivista).
Column {
    id: card

    readonly property DashboardMetrics metrics: DashboardMetrics { skin: card.Skinned.skin }
    readonly property bool ready: PlaybackCoordinator.availability === "ready"
    readonly property bool rivista: card.Skinned.skin === "rivista"
    readonly property string trackTitle: PlaybackCoordinator.trackTitle ?? ""
    readonly property string trackArtist: PlaybackCoordinator.trackArtist ?? ""
    readonly property string trackAlbum: PlaybackCoordinator.trackAlbum ?? ""

    width: parent ? parent.width : implicitWidth
    spacing: metrics.pageSpacing

    SkinCard {
        objectName: "availabilityCard"
        visible: !card.ready
        width: card.width
        radius: 24
        padding: 24
        contentItem: RowLayout {
            spacing: 24
            MarkView {
                Layout.preferredWidth: 76
                Layout.preferredHeight: 76
                Layout.alignment: Qt.AlignVCenter
                size: 76
                variant: "full"
            }
            AvailabilityView {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignVCenter
                compact: true
            }
        }
    }

    SkinCard {
        objectName: "classicoCard"
        visible: card.ready && !card.rivista
        width: card.width
        radius: 24
        padding: 23
        contentItem: RowLayout {
            spacing: 24
            Item {
                Layout.preferredWidth: 130
                Layout.preferredHeight: 130
                // Black at 24 %, blurred over 15, 8 down: stacked soft layers.
                Repeater {
                    model: 8
                    Rectangle {
                        required property int index
                        x: -index * 2
                        y: 8 - index * 2
                        width: 130 + index * 4
                        height: 130 + index * 4
                        radius: 8 + index * 2
                        color: Qt.rgba(0, 0, 0, 0.03)
                    }
                }
                ArtworkButton {
                    size: 130
                    radius: 8
                }
            }
            Column {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignVCenter
                spacing: 9
                Eyebrow {
                    width: parent.width
                    text: Design.localized("Now playing")
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "trackTitle"
                    width: parent.width
                    color: card.Skinned.palette.text
                    font.family: SkinFonts.system(25, "semibold").family
                    font.pixelSize: 25
                    font.weight: Font.DemiBold
                    font.letterSpacing: -0.5
                    text: card.trackTitle
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "trackArtist"
                    width: parent.width
                    color: card.Skinned.palette.muted
                    font: SkinFonts.system(13)
                    text: card.trackArtist
                    elide: Text.ElideRight
                }
                Attribution {}
            }
            Column {
                objectName: "controlColumn"
                Layout.preferredWidth: 104
                Layout.alignment: Qt.AlignVCenter
                spacing: 12
                TransportControls {
                    anchors.horizontalCenter: parent.horizontalCenter
                    compact: true
                }
                // The regular form is as wide as it is given: the column's 104.
                PlayingIndicator {
                    objectName: "cardIndicator"
                    width: parent.width
                    playing: PlaybackCoordinator.isPlaying
                    compact: false
                    settings: Preferences.visualizer
                    lightEffects: Preferences.lightEffects
                }
            }
        }
    }

    // Rivista, row 1: artwork, title block, attribution and progress.
    RowLayout {
        objectName: "rivistaTrack"
        visible: card.ready && card.rivista
        width: card.width
        spacing: 28
        ArtworkButton {
            Layout.alignment: Qt.AlignTop
            size: 150
            radius: 4
        }
        Column {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 18
            RowLayout {
                width: parent.width
                spacing: 12
                Column {
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop
                    spacing: 8
                    TitleText {
                        objectName: "trackTitle"
                        width: parent.width
                        size: 40
                        lines: 2
                        text: card.trackTitle
                    }
                    Row {
                        objectName: "artistLine"
                        width: parent.width
                        spacing: 8
                        clip: true
                        Text {
                            textFormat: Text.PlainText
                            color: card.Skinned.palette.text
                            font: SkinFonts.system(14)
                            text: card.trackArtist
                            maximumLineCount: 1
                        }
                        Text {
                            textFormat: Text.PlainText
                            color: card.Skinned.palette.muted
                            font: SkinFonts.system(14)
                            text: card.trackAlbum
                            maximumLineCount: 1
                        }
                    }
                }
                Item {
                    Layout.minimumWidth: 8
                    Layout.preferredWidth: 8
                }
                Attribution {
                    Layout.alignment: Qt.AlignTop
                }
            }
            ProgressControl {
                width: parent.width
                readoutSize: 30
            }
        }
    }

    // Rivista, row 2: transport, shuffle, repeat and volume.
    Row {
        objectName: "rivistaControls"
        visible: card.ready && card.rivista
        spacing: 12
        TransportControls {
            anchors.verticalCenter: parent.verticalCenter
        }
        FunctionButton {
            objectName: "shuffleButton"
            anchors.verticalCenter: parent.verticalCenter
            glyph: "shuffle"
            label: Design.localized("Shuffle")
            size: 28
            isOn: PlaybackCoordinator.shuffle
            enabled: PlaybackCoordinator.canShuffle
            // Read when the task runs, not when the button was drawn.
            onClicked: PlaybackCoordinator.sendShuffleToggle()
        }
        FunctionButton {
            objectName: "repeatButton"
            anchors.verticalCenter: parent.verticalCenter
            glyph: "loop"
            label: Design.localized("Repeat")
            size: 28
            isOn: PlaybackCoordinator.repeatEnabled
            enabled: PlaybackCoordinator.canRepeat
            onClicked: PlaybackCoordinator.sendRepeatToggle()
        }
        Item {
            width: 10 + 130
            height: volume.height
            anchors.verticalCenter: parent.verticalCenter
            VolumeControl {
                id: volume
                x: 10
                width: 130
            }
        }
    }
}
