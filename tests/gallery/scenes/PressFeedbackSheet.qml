import QtQuick
import Orvel
import Orvel.Shared

// The button style in each state it draws, pinned: at rest, hovered,
// pressed, disabled, disabled under the pointer.
Sheet {
    id: sheet

    readonly property var states: [
        {"name": "rest", "hovered": false, "pressed": false, "enabled": true},
        {"name": "hovered", "hovered": true, "pressed": false, "enabled": true},
        {"name": "pressed", "hovered": true, "pressed": true, "enabled": true},
        {"name": "disabled", "hovered": false, "pressed": false, "enabled": false},
        {"name": "disabled, hovered", "hovered": true, "pressed": false, "enabled": false}
    ]

    Row {
        spacing: 16
        Repeater {
            model: sheet.states
            Column {
                spacing: 6
                PressFeedbackStyle {
                    id: button
                    shownHovered: modelData.hovered
                    shownPressed: modelData.pressed
                    enabled: modelData.enabled
                    contentItem: Rectangle {
                        implicitWidth: 96
                        implicitHeight: 40
                        radius: 12
                        color: button.lit(Skinned.palette.fillStrong)
                        border.color: button.lit(Skinned.palette.stroke)
                        Text {
                            anchors.centerIn: parent
                            color: button.lit(Skinned.palette.text)
                            font: Typography.role("subhead")
                            text: "Play"
                        }
                    }
                }
                Label { text: modelData.name + " · " + button.scale.toFixed(3) }
            }
        }
    }
}
