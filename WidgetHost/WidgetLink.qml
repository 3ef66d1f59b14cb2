import QtQuick
import Orvel.WidgetKit

// A part of a widget that opens its own URL when tapped, instead of the
// widget's URL. Its label goes inside; it takes the label's size.
MouseArea {
    id: root

    property url destination

    implicitWidth: childrenRect.width
    implicitHeight: childrenRect.height
    cursorShape: Qt.PointingHandCursor
    Accessible.role: Accessible.Link
    Accessible.onPressAction: root.Widget.open(root.destination)

    onClicked: root.Widget.open(root.destination)
}
