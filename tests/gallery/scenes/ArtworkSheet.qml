import QtQuick
import Orvel
import Orvel.Shared

// Covers and placeholders side by side, each with its frame and radius.
// A sample is {"width", "height", "radius", "cover", "thumbnail"}; the frame
// is outlined faintly so the fitted square shows within it.
Sheet {
    id: sheet

    required property var samples

    Row {
        spacing: 22
        Repeater {
            model: sheet.samples
            Column {
                spacing: 6
                Rectangle {
                    width: modelData.width + 2
                    height: modelData.height + 2
                    color: "transparent"
                    border.width: 1
                    border.color: Skinned.palette.faint
                    ArtworkView {
                        x: 1
                        y: 1
                        width: modelData.width
                        height: modelData.height
                        radius: modelData.radius
                        thumbnail: modelData.thumbnail === true
                        source: modelData.cover ? Design.image("PreviewArtwork") : ""
                        identity: modelData.cover ? "preview" : null
                    }
                }
                Label {
                    text: modelData.width + "×" + modelData.height + " r" + modelData.radius
                          + (modelData.thumbnail ? " thumb" : "")
                }
            }
        }
    }
}
