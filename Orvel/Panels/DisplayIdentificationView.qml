import QtQuick
import Orvel
import Orvel.Shared

// The large number shown on a display while the displays are identified,
// with the display's name and role, on the solid panel surface.
SurfacePanel {
    id: view

    property int number: 0
    property string name: ""
    property bool primary: false

    implicitWidth: 280
    implicitHeight: 210
    radius: Radius.xxLarge
    solid: true

    Accessible.role: Accessible.StaticText
    Accessible.name: number + ". " + name

    // Where nothing composites, the window is cut to the card's corners.
    PanelOutline {
        parent: view
        anchors.fill: parent
        topRadius: view.radius
        bottomRadius: view.radius
    }

    contentItem: Item {
        Column {
            anchors.centerIn: parent
            width: parent.width - 40
            spacing: 10

            Text {
                textFormat: Text.PlainText
                objectName: "number"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                color: Skinned.palette.text
                font: Typography.rounded(72, Font.Light)
                text: Design.localized("%lld", [view.number])
            }
            Text {
                textFormat: Text.PlainText
                objectName: "name"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                color: Skinned.palette.text
                font: Typography.system(16, Font.DemiBold)
                elide: Text.ElideRight
                maximumLineCount: 1
                text: view.name
            }
            Text {
                textFormat: Text.PlainText
                objectName: "role"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                color: Skinned.palette.text
                opacity: 0.62
                font: Typography.system(12)
                text: Design.localized(view.primary ? "Primary display" : "Connected display")
            }
        }
    }
}
