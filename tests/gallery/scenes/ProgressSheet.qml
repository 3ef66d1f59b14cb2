import QtQuick
import Orvel
import Orvel.Shared

// One position bar over the scripted playback, at the width of an expanded player.
Sheet {
    id: sheet

    property string caption

    Label {
        text: sheet.caption
    }
    ProgressControl {
        width: 280
    }
}
