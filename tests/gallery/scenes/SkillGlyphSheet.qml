import QtQuick
import Orvel.Shared

// Every shortcut glyph at 20 points in its 1.4 x frame (outlined), in the
// palette's text colour and in the accent.
Sheet {
    required property var names

    Repeater {
        model: [Skinned.palette.text, Skinned.palette.accent]
        Grid {
            id: grid
            property color tint: modelData
            columns: 8
            rowSpacing: 12
            columnSpacing: 8
            Repeater {
                model: names
                Column {
                    width: 72
                    spacing: 6
                    SkillGlyphImage {
                        anchors.horizontalCenter: parent.horizontalCenter
                        glyph: modelData
                        size: 20
                        color: grid.tint
                        Rectangle {
                            anchors.fill: parent
                            color: "transparent"
                            border.color: Skinned.palette.rule
                        }
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
