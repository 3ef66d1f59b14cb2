import QtQuick
import Orvel
import Orvel.Shared

// The primary button with and without a glyph, in each state, and with a
// long title (the capsule grows with it).
Sheet {
    id: sheet

    readonly property var states: [
        {"name": "rest", "hovered": false, "pressed": false, "enabled": true},
        {"name": "hovered", "hovered": true, "pressed": false, "enabled": true},
        {"name": "pressed", "hovered": true, "pressed": true, "enabled": true},
        {"name": "disabled", "hovered": false, "pressed": false, "enabled": false}
    ]

    Repeater {
        model: sheet.states
        Row {
            id: stateRow
            property var state: modelData
            spacing: 14
            Label {
                width: 64
                anchors.verticalCenter: parent.verticalCenter
                text: stateRow.state.name
            }
            PrimaryButton {
                title: "Open Spotify"
                shownHovered: stateRow.state.hovered
                shownPressed: stateRow.state.pressed
                enabled: stateRow.state.enabled
            }
            PrimaryButton {
                title: "Open in Spotify"
                glyph: "external"
                shownHovered: stateRow.state.hovered
                shownPressed: stateRow.state.pressed
                enabled: stateRow.state.enabled
            }
        }
    }
    PrimaryButton {
        title: "Continue with the guided setup"
        glyph: "next"
    }
}
