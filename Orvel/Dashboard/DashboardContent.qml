import QtQuick
import Orvel

// The dashboard window's content, made once and moved into each window that
// shows it. The main menu's key equivalents live here: Ctrl+, reopens, Ctrl+W
// closes, Ctrl+Q quits. Text fields bring their own cut, copy, paste and select-all.
Item {
    id: content

    required property QtObject dashboardState
    signal openDashboardRequested()
    signal quitRequested()

    anchors.fill: parent

    Shortcut { sequence: "Ctrl+,"; onActivated: content.openDashboardRequested() }
    Shortcut { sequence: "Ctrl+W"; onActivated: content.Window.window && content.Window.window.close() }
    Shortcut { sequence: "Ctrl+Q"; onActivated: content.quitRequested() }

    DashboardView {
        anchors.fill: parent
    }
}
