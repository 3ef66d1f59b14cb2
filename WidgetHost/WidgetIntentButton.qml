import QtQuick
import Orvel.WidgetKit

// A widget button that runs a playback intent in the app ("toggle",
// "previous", "next"). Its face goes inside; it takes the face's size.
MouseArea {
    id: root

    property string action

    implicitWidth: childrenRect.width
    implicitHeight: childrenRect.height
    cursorShape: Qt.PointingHandCursor
    Accessible.role: Accessible.Button
    Accessible.onPressAction: root.Widget.perform(root.action)

    onClicked: root.Widget.perform(root.action)
}
