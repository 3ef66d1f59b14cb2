import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The current cover as a square button: a click opens the track in Spotify.
// The cover and its cross-fade follow the coordinator; enabled also without a
// track, when the click does nothing.
T.AbstractButton {
    id: control

    // Side of the square cover.
    required property real size
    // Drawn with corners of at most 8.
    property real radius: 8
    readonly property alias artwork: artwork

    padding: 0
    implicitWidth: size
    implicitHeight: size
    opacity: down ? 0.7 : 1
    focusPolicy: Qt.TabFocus

    contentItem: Item {
        ArtworkView {
            id: artwork
            anchors.centerIn: parent
            width: control.size
            height: control.size
            source: PlaybackCoordinator.artworkSource
            identity: PlaybackCoordinator.artworkID
            radius: control.radius
            thumbnail: false
        }
    }
    background: null

    hoverEnabled: true
    Accessible.name: Design.localized("Open in Spotify")

    onClicked: PlaybackCoordinator.openCurrentTrack()

    HelpTip {
        anchors.fill: parent
        text: Design.localized("Open in Spotify")
        active: control.hovered
    }
}
