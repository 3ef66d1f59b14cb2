import QtQuick

// A busy desktop behind translucent grounds, so glass shows as glass.
Rectangle {
    gradient: Gradient {
        orientation: Gradient.Horizontal
        GradientStop { position: 0; color: "#f2c14e" }
        GradientStop { position: 0.5; color: "#f78154" }
        GradientStop { position: 1; color: "#4d9078" }
    }
    Repeater {
        model: 8
        Rectangle {
            x: index * 60
            y: 0
            width: 24
            height: parent.height
            color: "#ffffff"
            opacity: 0.55
        }
    }
    Text {
        x: 12
        y: 8
        font.pixelSize: 40
        font.bold: true
        color: "#1b1b1b"
        text: "desktop behind"
    }
}
