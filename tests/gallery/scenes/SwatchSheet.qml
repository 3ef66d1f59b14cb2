import QtQuick
import Orvel
import Orvel.Shared

// Both skins' miniatures side by side, whatever skin the scene is in; below,
// as a hovered picker card lights them.
Sheet {
    Repeater {
        model: [0, 0.06]
        Row {
            id: swatches
            property real brightness: modelData
            spacing: 14
            Repeater {
                model: ["rivista", "classico"]
                Column {
                    spacing: 6
                    SkinSwatch {
                        width: 230
                        height: 96
                        skin: modelData
                        brightness: swatches.brightness
                    }
                    Label { text: modelData + (swatches.brightness > 0 ? ", hovered" : "") }
                }
            }
        }
    }
}
