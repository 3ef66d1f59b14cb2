import QtQuick
import Orvel
import Orvel.Shared

// The panel keys with and without close at the sizes the surfaces use; the
// panel is pinned, so keep open shows selected.
Sheet {
    Label { text: "sidebar, 30 / 26" }
    Row {
        spacing: 24
        PanelKeys { model: panelModel; size: 30; includesClose: true }
        PanelKeys { model: panelModel; size: 26; includesClose: true }
    }
    Label { text: "expanded player and availability row, 25 / 24" }
    Row {
        spacing: 24
        PanelKeys { model: panelModel; size: 25 }
        PanelKeys { model: panelModel; size: 24 }
    }
}
