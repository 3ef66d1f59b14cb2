import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// Gives its content the surface ground clipped to a rounded shape, with a
// hairline border inside the edge. The content itself is not clipped.
//     SurfacePanel { radius: 24; solid: false; contentItem: Column { … } }
T.Control {
    id: panel

    property real radius: Radius.medium
    property bool solid: false

    padding: 0
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    background: SurfaceGround {
        solid: panel.solid
        radius: panel.radius
    }

    KitShape {
        parent: panel
        anchors.fill: parent
        z: 1
        radius: panel.radius
        stroke: SurfaceStyle.panelBorderTop(panel.Skinned.skin)
        strokeEnd: SurfaceStyle.panelBorderBottom(panel.Skinned.skin)
        strokeWidth: 1
        Accessible.ignored: true
    }
}
