import QtQuick
import Orvel
import Orvel.Shared

// The selection mark on and off at its default size and larger.
Sheet {
    Repeater {
        model: [6, 8, 12]
        Row {
            id: sizeRow
            property real dotSize: modelData
            spacing: 16
            Label {
                width: 40
                anchors.verticalCenter: parent.verticalCenter
                text: sizeRow.dotSize
            }
            Repeater {
                model: [true, false]
                Row {
                    spacing: 6
                    anchors.verticalCenter: parent.verticalCenter
                    SelectionDot {
                        anchors.verticalCenter: parent.verticalCenter
                        on: modelData
                        size: sizeRow.dotSize
                    }
                    Label {
                        anchors.verticalCenter: parent.verticalCenter
                        text: modelData ? "on" : "off"
                    }
                }
            }
        }
    }
}
