import QtQuick
import Orvel
import Orvel.Shared

// An album cover, or the drawn placeholder while there is none, cross-faded
// whenever the cover's identity changes. Give it a frame; the placeholder is
// the largest square that fits. Decorative.
Item {
    id: root

    // The cover's URL (PlaybackCoordinator.artworkSource); empty for none.
    property url source
    // Drawn with corners of at most 8.
    property real radius: 8
    // The key of the cross-fade (PlaybackCoordinator.artworkID); null when unknown.
    property var identity: null
    // Small thumbnails show the brand mark instead of the placeholder picture.
    property bool thumbnail: false
    readonly property alias picture: picture

    Accessible.ignored: true

    ArtworkPicture {
        id: picture
        anchors.fill: parent
        source: root.source
        radius: root.radius
        identity: root.identity
        thumbnail: root.thumbnail
        onFadeStarted: fade.restart()

        NumberAnimation {
            id: fade
            objectName: "fade"
            target: picture
            property: "progress"
            from: 0
            to: 1
            duration: picture.fadeMilliseconds
            easing: picture.fadeCurve
        }
    }
}
