import QtQuick
import Orvel

// An identification panel in the middle of a desktop.
Wallpaper {
    property int number: 1
    property string name: "Built-in Display"
    property bool primary: true

    implicitWidth: 400
    implicitHeight: 290

    DisplayIdentificationView {
        anchors.centerIn: parent
        number: parent.number
        name: parent.name
        primary: parent.primary
    }
}
