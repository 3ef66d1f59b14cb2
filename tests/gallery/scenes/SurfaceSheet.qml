import QtQuick
import Orvel

// One panel's surface over the desktop behind it, on the scene's panel model.
Item {
    id: sheet

    property bool desktop: true

    Wallpaper {
        anchors.fill: parent
        visible: sheet.desktop
    }
    SurfaceView {
        objectName: "surface"
        anchors.fill: parent
        model: panelModel
    }
}
