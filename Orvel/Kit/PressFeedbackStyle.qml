import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The one button style of the program's own buttons: dimmed when disabled,
// brightened on hover, shrunk a little while pressed. Give it the label as
// contentItem and pass the label's colours through lit() so hovering
// brightens them:
//     PressFeedbackStyle { contentItem: Text { color: parent.lit(Skinned.palette.text) } }
T.AbstractButton {
    id: control

    // What the style shows as hovered and pressed; they follow the pointer
    // unless a preview pins them.
    property bool shownHovered: hovered
    property bool shownPressed: down
    // Animated towards the rules' brightness on hover.
    property real brightness: feedback.brightness
    readonly property PressFeedback feedback: PressFeedback {
        enabled: control.enabled
        hovered: control.shownHovered
        pressed: control.shownPressed
        motionAllowed: control.Skinned.environment.allows("controls")
    }

    function lit(color) {
        return feedback.lit(color, control.brightness);
    }

    hoverEnabled: true
    padding: 0
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    opacity: feedback.opacity
    scale: feedback.scale

    Behavior on scale {
        enabled: control.feedback.animation.enabled
        NumberAnimation {
            duration: control.feedback.animation.duration
            easing: control.feedback.animation.easing
        }
    }
    Behavior on brightness {
        enabled: control.feedback.animation.enabled
        NumberAnimation {
            duration: control.feedback.animation.duration
            easing: control.feedback.animation.easing
        }
    }
}
