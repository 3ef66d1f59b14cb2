import QtQuick
import Orvel
import Orvel.Shared

// The current cover as a button at the sizes the surfaces use; the corners
// never exceed 8, whatever the radius asked for.
Sheet {
    Row {
        spacing: 22
        Repeater {
            model: [{"size": 44, "radius": 6}, {"size": 56, "radius": 8}, {"size": 96, "radius": 18}]
            Column {
                spacing: 6
                ArtworkButton {
                    size: modelData.size
                    radius: modelData.radius
                }
                Label {
                    text: modelData.size + " r" + modelData.radius
                }
            }
        }
    }
}
