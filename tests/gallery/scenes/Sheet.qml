import QtQuick
import Orvel.Shared

// The ground a scene is drawn on: the skin's ground around a column of content.
Rectangle {
    default property alias content: column.data
    property real margin: 20

    color: Skinned.palette.ground
    implicitWidth: column.implicitWidth + 2 * margin
    implicitHeight: column.implicitHeight + 2 * margin

    Column {
        id: column
        x: parent.margin
        y: parent.margin
        spacing: 14
    }
}
