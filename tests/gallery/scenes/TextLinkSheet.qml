import QtQuick
import Orvel
import Orvel.Shared

// Text links beside body text.
Sheet {
    Row {
        spacing: 12
        Text {
            anchors.baseline: link.baseline
            color: Skinned.palette.muted
            font: Typography.role("caption")
            text: "Spotify is not running."
        }
        TextLink {
            id: link
            title: "Try again"
        }
    }
    TextLink { title: "Reset player positions" }
}
