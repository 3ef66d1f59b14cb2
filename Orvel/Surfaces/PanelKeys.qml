import QtQuick
import Orvel
import Orvel.Shared

// The row of keys every expanded surface carries: settings (the dashboard's
// appearance section), keep open (selected while pinned) and, in the
// sidebar, close.
Row {
    id: keys

    property PanelModel model: null
    property real size: 24
    property bool includesClose: false

    function perform(action) {
        if (action === "settings")
            DashboardLinks.openSection("appearance")
        else if (action === "keepOpen" && keys.model)
            keys.model.togglePin()
        else if (action === "close" && keys.model)
            keys.model.dismiss()
    }

    spacing: 5

    Repeater {
        model: SurfaceRules.panelKeys(keys.includesClose)
        GlyphButton {
            required property var modelData
            objectName: modelData.action
            anchors.verticalCenter: parent.verticalCenter
            glyph: modelData.glyph
            label: modelData.label
            size: keys.size
            selected: modelData.action === "keepOpen" && keys.model !== null && keys.model.pinned
            onClicked: keys.perform(modelData.action)
        }
    }
}
