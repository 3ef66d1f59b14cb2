import QtQuick
import Orvel
import Orvel.Shared

// A marked empty slot where a view of later work goes; its objectName names
// the awaited view.
Rectangle {
    id: slot

    implicitWidth: 160
    implicitHeight: 44
    color: "transparent"
    radius: 8
    border.width: 1
    border.color: Skinned.palette.rule

    Text {
        textFormat: Text.PlainText
        anchors.centerIn: parent
        width: Math.min(implicitWidth, slot.width - 8)
        elide: Text.ElideRight
        color: slot.Skinned.palette.faint
        font: SkinFonts.system(11)
        text: slot.objectName
    }
}
