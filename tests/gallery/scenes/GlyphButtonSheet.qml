import QtQuick
import Orvel
import Orvel.Shared

// Glyph buttons with a glyph and with a system symbol, unselected and
// selected, in each state of the button style; then the sizes views use.
Sheet {
    id: sheet

    readonly property var states: [
        {"name": "rest", "hovered": false, "pressed": false, "enabled": true},
        {"name": "hovered", "hovered": true, "pressed": false, "enabled": true},
        {"name": "pressed", "hovered": true, "pressed": true, "enabled": true},
        {"name": "disabled", "hovered": false, "pressed": false, "enabled": false}
    ]
    readonly property var kinds: [
        {"name": "glyph", "glyph": "pin", "symbol": "", "selected": false},
        {"name": "glyph, selected", "glyph": "pin", "symbol": "", "selected": true},
        {"name": "symbol", "glyph": "", "symbol": "checkmark.circle.fill", "selected": false},
        {"name": "symbol, selected", "glyph": "", "symbol": "circle", "selected": true}
    ]

    Repeater {
        model: sheet.kinds
        Row {
            id: kindRow
            property var kind: modelData
            spacing: 18
            Label {
                width: 100
                anchors.verticalCenter: parent.verticalCenter
                text: kindRow.kind.name
            }
            Repeater {
                model: sheet.states
                GlyphButton {
                    glyph: kindRow.kind.glyph
                    symbol: kindRow.kind.symbol
                    selected: kindRow.kind.selected
                    label: "Pin"
                    shownHovered: modelData.hovered
                    shownPressed: modelData.pressed
                    enabled: modelData.enabled
                }
            }
        }
    }
    Row {
        spacing: 18
        Label {
            width: 100
            anchors.verticalCenter: parent.verticalCenter
            text: "states →"
        }
        Repeater {
            model: sheet.states
            Label {
                width: 30
                text: modelData.name
                horizontalAlignment: Text.AlignHCenter
            }
        }
    }
    // The symbols of the shortcut rows, semibold in rivista and medium in classico.
    Row {
        spacing: 18
        Label {
            width: 100
            anchors.verticalCenter: parent.verticalCenter
            text: "row symbols"
        }
        Repeater {
            model: ["chevron.up", "chevron.down", "pencil", "trash"]
            GlyphButton {
                symbol: modelData
                label: modelData
                size: 38
            }
        }
    }
    Row {
        spacing: 14
        Repeater {
            model: [22, 26, 30, 38]
            Column {
                spacing: 4
                GlyphButton {
                    anchors.horizontalCenter: parent.horizontalCenter
                    glyph: "settings"
                    label: "Settings"
                    size: modelData
                }
                Label {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: modelData
                }
            }
        }
        GlyphButton {
            glyph: "close"
            label: "Close"
            selected: true
            size: 38
        }
    }
}
