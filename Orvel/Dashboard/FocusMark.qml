import QtQuick
import Orvel.Shared

// The keyboard's mark around the control it sits in, shown while that
// control has focus from the keyboard.
Rectangle {
    objectName: "focusMark"
    anchors.fill: parent
    anchors.margins: -3
    radius: 6
    color: "transparent"
    border.width: 2
    border.color: Skinned.palette.accent
    visible: parent && parent.visualFocus === true
    Accessible.ignored: true
}
