import QtQuick
import Orvel.Shared

// Every glyph at 28 points in the palette's text colour, with its name.
Sheet {
    required property var names

    Grid {
        columns: 6
        rowSpacing: 14
        columnSpacing: 8
        Repeater {
            model: names
            Column {
                width: 84
                spacing: 6
                GlyphView {
                    anchors.horizontalCenter: parent.horizontalCenter
                    glyph: modelData
                    size: 28
                }
                Label {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: modelData
                }
            }
        }
    }
}
