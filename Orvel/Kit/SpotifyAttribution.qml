import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// Spotify's mark beside content taken from Spotify: the icon alone or the full
// logo, always in its own colours (an Image is never tinted) and always its
// own size; a container that offers more or less gets the mark centred.
Item {
    id: root

    property bool iconOnly: false
    readonly property size frame: SpotifyAttributionLook.frame(iconOnly)

    implicitWidth: frame.width
    implicitHeight: frame.height
    Layout.minimumWidth: frame.width
    Layout.maximumWidth: frame.width
    Layout.minimumHeight: frame.height
    Layout.maximumHeight: frame.height

    Accessible.role: Accessible.Graphic
    Accessible.name: Design.localized("Spotify")

    Image {
        objectName: "mark"
        anchors.centerIn: parent
        width: root.frame.width
        height: root.frame.height
        source: Design.image(SpotifyAttributionLook.imageName(root.iconOnly))
        sourceSize: root.frame
        fillMode: Image.PreserveAspectFit
        smooth: true
        Accessible.ignored: true
    }
}
