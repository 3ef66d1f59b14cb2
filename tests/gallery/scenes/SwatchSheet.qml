import QtQuick
import Orvel
import Orvel.Shared

// Both skins' miniatures side by side, whatever skin the scene is in.
Sheet {
    Row {
        spacing: 14
        Repeater {
            model: ["rivista", "classico"]
            Column {
                spacing: 6
                SkinSwatch {
                    width: 230
                    height: 96
                    skin: modelData
                }
                Label { text: modelData }
            }
        }
    }
}
