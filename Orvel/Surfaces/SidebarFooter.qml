import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The last row of both sidebars: Spotify's logo and where the music plays.
RowLayout {
    objectName: "footer"

    SpotifyAttribution {
        iconOnly: false
    }
    Item {
        Layout.fillWidth: true
    }
    Text {
        textFormat: Text.PlainText
        text: Design.localized("On this Mac")
        color: parent.Skinned.palette.muted
        font: SkinFonts.system(10)
    }
}
