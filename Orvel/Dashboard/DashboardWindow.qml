import QtQuick

// The dashboard's window. Its pages come later; until then it names the section.
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

    Column {
        anchors.centerIn: parent
        spacing: 8
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Orvel"
            color: "#f2f2f4"
            font.pixelSize: 28
        }
        Text {
            objectName: "section"
            anchors.horizontalCenter: parent.horizontalCenter
            text: window.dashboardState.section
            color: "#9a9aa2"
            font.pixelSize: 15
        }
    }
}
