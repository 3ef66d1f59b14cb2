import QtQuick
import Orvel.Shared

// Every text role in the palette's text colour, then the display, numeric and
// monospaced fonts and the palette's text colours.
Sheet {
    id: sheet

    required property var roles

    Repeater {
        model: sheet.roles
        Row {
            spacing: 12
            Label {
                width: 72
                anchors.baseline: sample.baseline
                text: modelData
            }
            Text {
                id: sample
                color: Skinned.palette.text
                font: Typography.role(modelData)
                text: "Holocene — Bon Iver"
            }
        }
    }
    Text {
        color: Skinned.palette.text
        font: Typography.display(40)
        text: "Display 40"
    }
    Text {
        color: Skinned.palette.text
        font: Typography.numeric(32)
        text: "3:07 / 5:36"
    }
    Text {
        color: Skinned.palette.text
        font: Typography.mono(13)
        text: "spotify:track:4fbvXwMTXPWaFyaMWUm9CR"
    }
    Row {
        spacing: 14
        Repeater {
            model: ["text", "muted", "faint", "accent"]
            Text {
                color: Skinned.palette[modelData]
                font: Typography.role("body")
                text: modelData
            }
        }
    }
}
