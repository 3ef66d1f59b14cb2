import QtQuick
import Orvel
import Orvel.Shared

// One volume bar over the scripted playback.
Sheet {
    id: sheet

    property string caption

    Label {
        text: sheet.caption
    }
    VolumeControl {
        width: 200
    }
}
