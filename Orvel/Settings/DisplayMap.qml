import QtQuick
import Orvel
import Orvel.Shared

// The connected displays as tiles in their desktop arrangement, scaled to the
// map; the displays that carry panels in the accent colour. A click on a tile
// hands its display to the page, also when it is already the chosen one.
Item {
    id: map

    // The catalogue's displays and the ids of those that carry panels.
    property var displays: []
    property var activeIDs: []

    signal select(var display)

    readonly property DisplayMapModel model: DisplayMapModel {
        displays: map.displays
        activeIDs: map.activeIDs
        width: map.width
        height: map.height
    }

    // One tile per display, read by index: a click that changes the active
    // marks never rebuilds the tile under the pointer.
    Repeater {
        model: map.model.tiles.length

        PressFeedbackStyle {
            id: tile
            objectName: "displayTile"
            required property int index
            readonly property var modelData: map.model.tiles[index]
            readonly property bool active: modelData.active
            readonly property color tint: active ? map.Skinned.palette.accent : map.Skinned.palette.muted

            x: modelData.x
            y: modelData.y
            width: modelData.width
            height: modelData.height
            text: modelData.accessibleName
            Accessible.name: modelData.accessibleName
            Accessible.description: modelData.accessibleValue
            onClicked: map.select(modelData.display)

            contentItem: Item {
                // Small tiles keep their number and lose their name rather than spill onto a neighbour.
                clip: true
                KitShape {
                    anchors.fill: parent
                    radius: 9
                    fill: tile.active ? Qt.rgba(tile.tint.r, tile.tint.g, tile.tint.b, 0.1) : Qt.rgba(1, 1, 1, 0.04)
                    fillEnd: Qt.rgba(0, 0, 0, 0.18)
                    fillDiagonal: true
                    stroke: tile.active ? Qt.rgba(tile.tint.r, tile.tint.g, tile.tint.b, 0.6)
                                        : map.Skinned.palette.stroke
                    strokeWidth: 1
                    brightness: tile.brightness
                }
                // The top strip: the active mark and, on the primary display, "Primary".
                Item {
                    id: strip
                    width: parent.width
                    height: 15
                    Rectangle {
                        objectName: "topStrip"
                        anchors.fill: parent
                        color: Qt.rgba(1, 1, 1, 0.05)
                    }
                    Rectangle {
                        x: 9
                        anchors.verticalCenter: parent.verticalCenter
                        width: 5
                        height: 5
                        radius: 2.5
                        color: tile.tint
                    }
                    Text {
                        textFormat: Text.PlainText
                        objectName: "primaryMark"
                        visible: tile.modelData.primary
                        anchors.right: parent.right
                        anchors.rightMargin: 9
                        anchors.verticalCenter: parent.verticalCenter
                        color: tile.tint
                        font: SkinFonts.system(8, "medium")
                        text: Design.localized("Primary")
                    }
                }
                // The number and the name in the middle of what is left.
                Column {
                    id: face
                    readonly property real room: parent.height - strip.height
                    anchors.horizontalCenter: parent.horizontalCenter
                    y: strip.height + (room - height) / 2
                    width: parent.width
                    spacing: 0
                    Text {
                        textFormat: Text.PlainText
                        id: number
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        color: tile.tint
                        font: Typography.rounded(25, 300)
                        text: Design.localized("%lld", [tile.modelData.number])
                    }
                    Text {
                        textFormat: Text.PlainText
                        objectName: "displayName"
                        visible: face.room >= number.implicitHeight + implicitHeight
                        x: 4
                        width: parent.width - 8
                        horizontalAlignment: Text.AlignHCenter
                        color: tile.tint
                        font: SkinFonts.system(9)
                        text: tile.modelData.name
                        maximumLineCount: 1
                        elide: Text.ElideRight
                    }
                }
            }
        }
    }
}
