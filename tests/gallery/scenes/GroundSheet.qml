import QtQuick
import Orvel
import Orvel.Shared

// A ground over a busy desktop: full bleed on the left, clipped to a
// rounded panel with its border on the right, with a badge that hangs over
// the panel's edge (content is never clipped).
Item {
    id: sheet

    property bool solid: false

    implicitWidth: 480
    implicitHeight: 260

    Wallpaper { anchors.fill: parent }

    SurfaceGround {
        x: 0
        y: 0
        width: 200
        height: sheet.height
        solid: sheet.solid
    }

    SurfacePanel {
        x: 224
        y: 24
        width: 232
        height: 200
        radius: 24
        solid: sheet.solid
        contentItem: Item {
            Column {
                x: 18
                y: 18
                spacing: 6
                Eyebrow { text: "Now playing" }
                TitleText {
                    size: 22
                    text: "Holocene"
                }
                Text {
                    color: Skinned.palette.muted
                    font: Typography.role("body")
                    text: "Bon Iver"
                }
            }
            Rectangle {
                x: parent.width - 26
                y: -10
                width: 36
                height: 20
                radius: 10
                color: Skinned.palette.accent
            }
        }
    }

    Label {
        x: 12
        y: sheet.height - 24
        text: "glass: " + (sheet.children[1].showsGlass ? "yes" : "no")
    }
}
