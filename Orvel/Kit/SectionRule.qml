import QtQuick
import Orvel
import Orvel.Shared

// The one-point divider; as wide as its container.
Rectangle {
    width: parent ? parent.width : 0
    implicitHeight: SurfaceStyle.ruleHeight
    height: SurfaceStyle.ruleHeight
    color: Skinned.palette.rule
    Accessible.ignored: true
}
