import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// A filled rounded box around its content, stronger when `strong`; the
// border keeps the palette's stroke either way.
//     SkinFill { strong: selected; contentItem: Column { … } }
T.Control {
    id: box

    property real radius: SurfaceStyle.fillRadius
    property bool strong: false
    // Added to the colours while a button around the box is hovered.
    property real brightness: 0

    padding: 0
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    background: KitShape {
        radius: box.radius
        fill: SurfaceStyle.fill(box.Skinned.palette, box.strong)
        brightness: box.brightness
        strokeWidth: 0
        Accessible.ignored: true
    }

    KitShape {
        parent: box
        anchors.fill: parent
        z: 1
        radius: box.radius
        stroke: box.Skinned.palette.stroke
        brightness: box.brightness
        strokeWidth: 1
        Accessible.ignored: true
    }
}
