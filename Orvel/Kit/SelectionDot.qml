import QtQuick
import Orvel
import Orvel.Shared

// Marks an option as chosen or not; the control around it says which.
Item {
    id: root

    property bool on: false
    property real size: 6
    // Added to its colour while the control around it is hovered.
    property real brightness: 0
    readonly property PressFeedback feedback: PressFeedback {}

    readonly property SelectionDotStyle style: SelectionDotStyle {
        palette: root.Skinned.palette
        on: root.on
        size: root.size
    }

    implicitWidth: style.side
    implicitHeight: style.side
    Accessible.ignored: true

    Rectangle {
        anchors.centerIn: parent
        visible: root.style.symbol === ""
        width: root.style.side
        height: root.style.side
        radius: width / 2
        color: root.feedback.lit(root.style.color, root.brightness)
    }
    SymbolView {
        anchors.fill: parent
        visible: root.style.symbol !== ""
        name: root.style.symbol
        size: root.style.side
        color: root.feedback.lit(root.style.color, root.brightness)
    }
}
