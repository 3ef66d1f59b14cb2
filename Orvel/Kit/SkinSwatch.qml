import QtQuick
import Orvel
import Orvel.Shared

// A miniature of the player as `skin` draws it, over the environment's aura.
// Decorative: hidden from accessibility.
Item {
    id: root

    property string skin: "classico"
    // Added to every colour, the cover's too, while the card around it is hovered.
    property real brightness: 0
    readonly property PressFeedback feedback: PressFeedback {}
    function lit(color) {
        return feedback.lit(color, brightness)
    }

    readonly property SkinSwatchStyle style: SkinSwatchStyle {
        skin: root.skin
        aura: root.Skinned.aura
    }
    readonly property var q: style.palette

    implicitWidth: row.implicitWidth + 28
    implicitHeight: row.implicitHeight + 28
    Accessible.ignored: true

    KitShape {
        anchors.fill: parent
        radius: 10
        fill: root.style.background
        fillEnd: root.style.backgroundEnd
        stroke: root.style.border
        strokeWidth: 1
        brightness: root.brightness
    }

    // Cover, text lines, a flexible gap and the play button, 12 apart: the
    // lines and the gap share what the fixed parts leave.
    Item {
        id: row
        x: 14
        y: 14
        width: parent.width - 28
        height: parent.height - 28
        implicitWidth: 48 + 12 + root.style.titleBar.width + 12 + 12 + 26
        implicitHeight: 48

        KitShape {
            id: cover
            anchors.verticalCenter: parent.verticalCenter
            width: 48
            height: 48
            radius: root.style.coverRadius
            image: "PreviewArtwork"
            strokeWidth: 0
            brightness: root.brightness
        }
        Column {
            id: lines
            anchors.verticalCenter: parent.verticalCenter
            x: cover.width + 12
            width: Math.max(root.style.titleBar.width, (row.width - 48 - 26 - 3 * 12) / 2)
            spacing: 7

            Rectangle {
                width: root.style.titleBar.width
                height: root.style.titleBar.height
                radius: height / 2
                color: root.lit(root.q.text)
            }
            Rectangle {
                width: 44
                height: 3
                radius: 1.5
                color: root.lit(root.q.muted)
            }
            Item {
                width: lines.width
                height: 3 + 3

                Rectangle {
                    y: 3 + (3 - height) / 2
                    width: parent.width
                    height: root.style.trackHeight
                    radius: height / 2
                    color: root.lit(Qt.rgba(root.q.text.r, root.q.text.g, root.q.text.b, root.q.text.a * 0.25))
                }
                Rectangle {
                    y: 3
                    width: 40
                    height: 3
                    radius: 1.5
                    color: root.lit(root.style.progress)
                }
            }
        }
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            anchors.right: parent.right
            width: 26
            height: 26
            radius: 13
            color: root.lit(root.style.playButton)

            GlyphView {
                anchors.fill: parent
                glyph: "pause"
                size: 12
                color: root.lit(root.q.onAccent)
            }
        }
    }
}
