import QtQuick
import Orvel
import Orvel.Shared

// The folded top player with its header's drag handle outlined, and the
// cursor the handle shows.
Item {
    id: sheet

    property rect handleArea
    property string cursorName: ""

    implicitWidth: 360
    implicitHeight: 120

    Wallpaper {
        anchors.fill: parent
    }
    SurfaceView {
        objectName: "surface"
        x: (sheet.width - width) / 2
        y: 16
        width: 284
        height: 38
        model: panelModel
    }
    Rectangle {
        x: sheet.handleArea.x
        y: sheet.handleArea.y
        width: sheet.handleArea.width
        height: sheet.handleArea.height
        color: "transparent"
        border.color: "#ff2d95"
        border.width: 2
    }
    Rectangle {
        anchors.horizontalCenter: parent.horizontalCenter
        y: 74
        width: caption.implicitWidth + 16
        height: caption.implicitHeight + 8
        radius: 6
        color: "#cc000000"
        Text {
            id: caption
            anchors.centerIn: parent
            color: "white"
            font: Typography.role("caption")
            text: "handle " + Math.round(sheet.handleArea.width) + " × " + Math.round(sheet.handleArea.height)
                  + " · " + sheet.cursorName
        }
    }
}
