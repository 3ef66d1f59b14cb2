import QtQuick
import Orvel
import Orvel.Shared

// The transport row over the scripted playback, regular and compact.
Sheet {
    id: sheet

    property string caption

    Label {
        text: sheet.caption
    }
    TransportControls {}
    TransportControls {
        compact: true
    }
}
