import QtQuick
import Orvel
import Orvel.Shared

// Skill slots at 28 and 40 pt in each state: empty at rest and hovered;
// filled at rest, hovered, mid-sweep, last started, failed, and waiting
// while another one starts.
Sheet {
    id: sheet

    readonly property var shortcut: ({"shortcutID": "s", "title": "Morning Run", "kind": "playlist", "glyph": "run"})
    readonly property var states: [
        {"name": "empty", "filled": false, "hovered": false, "casting": "", "last": "", "failed": "", "sweep": 0},
        {"name": "empty, hovered", "filled": false, "hovered": true, "casting": "", "last": "", "failed": "", "sweep": 0},
        {"name": "rest", "filled": true, "hovered": false, "casting": "", "last": "", "failed": "", "sweep": 0},
        {"name": "hovered", "filled": true, "hovered": true, "casting": "", "last": "", "failed": "", "sweep": 0},
        {"name": "sweep 0.62", "filled": true, "hovered": false, "casting": "s", "last": "", "failed": "", "sweep": 0.62},
        {"name": "sweep 0.25", "filled": true, "hovered": false, "casting": "s", "last": "", "failed": "", "sweep": 0.25},
        {"name": "last", "filled": true, "hovered": false, "casting": "", "last": "s", "failed": "", "sweep": 0},
        {"name": "failed", "filled": true, "hovered": false, "casting": "", "last": "", "failed": "s", "sweep": 0},
        {"name": "waiting", "filled": true, "hovered": false, "casting": "other", "last": "", "failed": "", "sweep": 0}
    ]

    Repeater {
        model: [28, 40]
        Row {
            id: line
            required property int modelData
            spacing: 14
            Repeater {
                model: sheet.states
                Column {
                    required property var modelData
                    spacing: 10
                    width: 64
                    SkillSlotView {
                        size: line.modelData
                        index: 2
                        shortcut: parent.modelData.filled ? sheet.shortcut : null
                        shownHovered: parent.modelData.hovered
                        castingID: parent.modelData.casting
                        lastCastID: parent.modelData.last
                        failedCastID: parent.modelData.failed
                        sweep: parent.modelData.sweep
                    }
                    Label {
                        width: parent.width
                        wrapMode: Text.WordWrap
                        text: parent.modelData.name
                    }
                }
            }
        }
    }
}
