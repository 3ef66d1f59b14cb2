import QtQuick
import Orvel.Shared

// The mark at the sizes views use: the glyph below 44 points, the image from
// 44 up, and each variant forced at the other's sizes.
Sheet {
    Repeater {
        model: [
            {"variant": "", "sizes": [16, 24, 34, 44, 64, 96]},
            {"variant": "compact", "sizes": [44, 96]},
            {"variant": "full", "sizes": [24, 34]}
        ]
        Row {
            id: row
            property var variant: modelData.variant
            spacing: 18
            Label {
                width: 72
                anchors.verticalCenter: parent.verticalCenter
                text: row.variant === "" ? "by size" : row.variant
            }
            Repeater {
                model: modelData.sizes
                Column {
                    spacing: 4
                    anchors.verticalCenter: parent.verticalCenter
                    MarkView {
                        anchors.horizontalCenter: parent.horizontalCenter
                        size: modelData
                        variant: row.variant
                    }
                    Label {
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: modelData
                    }
                }
            }
        }
    }
}
