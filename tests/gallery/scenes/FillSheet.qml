import QtQuick
import Orvel
import Orvel.Shared

// The fill around content, plain and strong.
Sheet {
    Row {
        spacing: 14
        Repeater {
            model: [false, true]
            SkinFill {
                strong: modelData
                contentItem: Column {
                    padding: 14
                    spacing: 4
                    Text {
                        color: Skinned.palette.text
                        font: Typography.role("subhead")
                        text: modelData ? "Strong" : "Plain"
                    }
                    Text {
                        color: Skinned.palette.muted
                        font: Typography.role("caption")
                        text: "Border in the palette's stroke."
                    }
                }
            }
        }
    }
}
