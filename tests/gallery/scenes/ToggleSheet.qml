import QtQuick
import Orvel
import Orvel.Shared

// Switches off and on, one whose owner refuses the change, and a disabled one.
Sheet {
    Repeater {
        model: [
            {"name": "Off", "on": false, "enabled": true},
            {"name": "On", "on": true, "enabled": true},
            {"name": "On, disabled", "on": true, "enabled": false}
        ]
        Row {
            spacing: 14
            SkinToggle {
                id: toggle
                anchors.verticalCenter: parent.verticalCenter
                label: modelData.name
                isOn: modelData.on
                enabled: modelData.enabled
            }
            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: modelData.name
            }
        }
    }
}
