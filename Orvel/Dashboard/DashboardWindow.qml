import QtQuick
import Orvel

// The dashboard's window around its content.
// The main menu's key equivalents live on the window: Ctrl+, reopens, Ctrl+W
// closes, Ctrl+Q quits. Text fields bring their own cut, copy, paste and select-all.
Window {
    id: window

    required property QtObject dashboardState
    signal openDashboardRequested()
    signal quitRequested()

    width: 960
    height: 750
    minimumWidth: 860
    minimumHeight: 650
    title: "Orvel"
    color: "#111114"

    Shortcut { sequence: "Ctrl+,"; onActivated: window.openDashboardRequested() }
    Shortcut { sequence: "Ctrl+W"; onActivated: window.close() }
    Shortcut { sequence: "Ctrl+Q"; onActivated: window.quitRequested() }

    DashboardView {
        anchors.fill: parent
    }
}
