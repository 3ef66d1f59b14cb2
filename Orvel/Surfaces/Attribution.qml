import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// Spotify's logo beside the current track: a click opens the track in Spotify.
// Enabled also without a track, when the click does nothing.
T.AbstractButton {
    id: control

    padding: 0
    implicitWidth: implicitContentWidth
    implicitHeight: implicitContentHeight
    // A plain button: only a press shows, as a dimmed label.
    opacity: down ? 0.7 : 1
    focusPolicy: Qt.TabFocus

    contentItem: SpotifyAttribution {
        iconOnly: false
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
