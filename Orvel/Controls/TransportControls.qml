import QtQuick
import Orvel
import Orvel.Shared

// Previous track, play/pause and next track. Each click sends one command
// to the coordinator and leaves it running; what the row shows follows the
// coordinator's snapshot. Disabled unless the player is ready.
Row {
    id: controls

    property bool compact: false

    readonly property TransportLayout layout: TransportLayout {
        compact: controls.compact
        availability: PlaybackCoordinator.availability
    }

    spacing: layout.spacing
    enabled: layout.enabled

    component SkipButton: PressFeedbackStyle {
        id: skip

        property string glyph
        property string label

        anchors.verticalCenter: parent.verticalCenter
        text: label
        Accessible.name: label

        contentItem: Item {
            implicitWidth: controls.layout.hitWidth
            implicitHeight: controls.layout.hitHeight

            GlyphView {
                anchors.fill: parent
                glyph: skip.glyph
                size: controls.layout.glyphSize
                color: skip.lit(skip.Skinned.palette.text)
            }
        }

        HelpTip {
            anchors.fill: parent
            text: skip.label
            active: skip.hovered
        }
    }

    SkipButton {
        objectName: "previous"
        glyph: "previous"
        label: Design.localized("Previous track")
        onClicked: PlaybackCoordinator.previous()
    }
    PlayPauseButton {
        objectName: "playPause"
        anchors.verticalCenter: parent.verticalCenter
        playing: PlaybackCoordinator.isPlaying
        size: controls.layout.playSize
        onClicked: PlaybackCoordinator.togglePlayPause()
    }
    SkipButton {
        objectName: "next"
        glyph: "next"
        label: Design.localized("Next track")
        onClicked: PlaybackCoordinator.next()
    }
}
