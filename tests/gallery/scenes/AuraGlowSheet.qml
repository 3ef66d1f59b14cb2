import QtQuick
import Orvel.Shared

// The glow of the brand aura and of the environment's (the scripted artwork's).
Sheet {
    Row {
        spacing: 16
        Repeater {
            model: [{"name": "brand", "aura": Design.brandAura}, {"name": "artwork", "aura": Skinned.aura}]
            Column {
                spacing: 6
                AuraGlow {
                    width: 280
                    height: 280
                    aura: modelData.aura
                    radius: 100
                    intensity: 0.6
                }
                Label { text: modelData.name }
            }
        }
    }
}
