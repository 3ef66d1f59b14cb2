import QtQuick
import Orvel
import Orvel.Shared

// The round button that plays or pauses. It shows what Spotify does; a
// click changes nothing here, the next snapshot swaps the glyph.
PressFeedbackStyle {
    id: button

    property bool playing: false
    property real size: 54

    readonly property PlayPauseStyle style: PlayPauseStyle {
        palette: button.Skinned.palette
        playing: button.playing
        size: button.size
    }
    readonly property kitAnimation swap: KitMotion.spring(style.swapResponse)
    readonly property bool swapAnimated: Skinned.environment.allows("controls")

    text: style.label
    Accessible.name: style.label
    // Only the circle takes the pointer.
    containmentMask: QtObject {
        function contains(point: point): bool {
            const r = button.width / 2;
            return Math.pow(point.x - r, 2) + Math.pow(point.y - button.height / 2, 2) <= r * r;
        }
    }

    contentItem: Item {
        implicitWidth: button.size
        implicitHeight: button.size

        Rectangle {
            anchors.fill: parent
            radius: width / 2
            color: button.lit(button.style.background)
        }
        Item {
            width: parent.width
            height: parent.height
            x: button.style.offset

            Behavior on x {
                enabled: button.swapAnimated
                NumberAnimation {
                    duration: button.swap.duration
                    easing: button.swap.easing
                }
            }

            Repeater {
                model: ["play", "pause"]
                GlyphView {
                    id: glyph
                    readonly property bool current: (modelData === "pause") === button.playing
                    anchors.fill: parent
                    glyph: modelData
                    size: button.style.glyphSize
                    color: button.lit(button.style.foreground)
                    opacity: current ? 1 : 0
                    scale: current ? 1 : button.style.swapScale

                    Behavior on opacity {
                        enabled: button.swapAnimated
                        NumberAnimation {
                            duration: button.swap.duration
                            easing: button.swap.easing
                        }
                    }
                    Behavior on scale {
                        enabled: button.swapAnimated
                        NumberAnimation {
                            duration: button.swap.duration
                            easing: button.swap.easing
                        }
                    }
                }
            }
        }
    }

    HelpTip {
        anchors.fill: parent
        text: button.style.label
        active: button.hovered
    }
}
