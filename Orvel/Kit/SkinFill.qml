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

    padding: 0
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    background: KitShape {
        radius: box.radius
        fill: SurfaceStyle.fill(box.Skinned.palette, box.strong)
        strokeWidth: 0
        Accessible.ignored: true
    }

    KitShape {
        parent: box
        anchors.fill: parent
        z: 1
        radius: box.radius
        stroke: box.Skinned.palette.stroke
        strokeWidth: 1
        Accessible.ignored: true
    }
}
