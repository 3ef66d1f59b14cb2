import QtQuick
import Orvel
import Orvel.Shared

// Shuffle and repeat toggles, off and on, enabled and disabled; then a glyph
// of our own as a function.
Sheet {
    Repeater {
        model: [true, false]
        Row {
            id: row
            property bool live: modelData
            spacing: 14
            Label {
                width: 70
                anchors.verticalCenter: parent.verticalCenter
                text: row.live ? "enabled" : "disabled"
            }
            Repeater {
                model: [
                    {"glyph": "shuffle", "label": "Shuffle", "on": false},
                    {"glyph": "shuffle", "label": "Shuffle", "on": true},
                    {"glyph": "loop", "label": "Repeat", "on": false},
                    {"glyph": "loop", "label": "Repeat", "on": true},
                    {"glyph": "pin", "label": "Pin", "on": true}
                ]
                FunctionButton {
                    glyph: modelData.glyph
                    label: modelData.label
                    isOn: modelData.on
                    enabled: row.live
                }
            }
        }
    }
    Row {
        spacing: 14
        Label {
            width: 70
            text: ""
        }
        Repeater {
            model: ["off", "on", "off", "on", "on"]
            Label {
                width: 25
                horizontalAlignment: Text.AlignHCenter
                text: modelData
            }
        }
    }
}
