import QtQuick
import Orvel.Shared

// The playing indicator in its regular and compact forms, with a few settings.
Sheet {
    id: sheet

    property bool playing: true
    readonly property var samples: [
        {"style": "bars", "palette": "orvel"},
        {"style": "wave", "palette": "sunset"},
        {"style": "dots", "palette": "artwork"},
        {"style": "orbit", "palette": "aurora"}
    ]

    Repeater {
        model: sheet.samples
        Row {
            spacing: 16
            readonly property var settings: ({"enabled": true, "style": modelData.style,
                    "palette": modelData.palette, "customHex": "C4F08F", "intensity": 0.7, "speed": 1.0,
                    "glow": true})
            Label {
                width: 96
                anchors.verticalCenter: parent.verticalCenter
                text: modelData.style + " · " + modelData.palette
            }
            PlayingIndicator {
                width: 160
                playing: sheet.playing
                settings: parent.settings
            }
            PlayingIndicator {
                anchors.verticalCenter: parent.verticalCenter
                compact: true
                playing: sheet.playing
                settings: parent.settings
            }
        }
    }
    Label { text: sheet.playing ? "playing" : "paused" }
}
