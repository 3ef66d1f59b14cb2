import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// Spotify's marks at their own sizes, and in a row that offers them more room.
Sheet {
    Row {
        spacing: 18
        SpotifyAttribution {}
        SpotifyAttribution {
            iconOnly: true
        }
    }
    Rectangle {
        width: 260
        height: 44
        color: Skinned.palette.fill
        RowLayout {
            anchors.fill: parent
            anchors.margins: 4
            SpotifyAttribution {
                Layout.fillWidth: true
                Layout.fillHeight: true
            }
            SpotifyAttribution {
                iconOnly: true
                Layout.fillHeight: true
            }
        }
    }
    Label {
        text: "70×21 logo, 21×21 icon, also when offered more"
    }
}
