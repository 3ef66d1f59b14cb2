import QtQuick
import Orvel
import Orvel.Shared

// Our slider. It shows its model's committed value until the user edits;
// a drag, the arrow keys or the accessibility slider move a pending value
// that the model commits once. Events go to the model, the track draws
// what it says, and the ring shows keyboard focus.
ScrubberSlider {
    id: scrubber

    // How far the track is active; springs when controls may animate.
    property real presence: model.active ? 1 : 0

    model: ScrubberState {}
    enabled: model.enabled
    activeFocusOnTab: model.enabled
    implicitWidth: 160
    implicitHeight: 14

    Accessible.role: Accessible.Slider
    Accessible.name: model.label
    Accessible.description: model.valueText
    Accessible.focusable: model.enabled
    Accessible.onIncreaseAction: model.increment()
    Accessible.onDecreaseAction: model.decrement()

    Keys.onLeftPressed: model.decrement()
    Keys.onRightPressed: model.increment()

    Binding {
        target: scrubber.model
        property: "environment"
        value: scrubber.Skinned.environment
    }
    Binding {
        target: scrubber.model
        property: "hovering"
        // Qt still sends hover to an item whose parent is disabled.
        value: pointer.containsMouse && scrubber.enabled
    }
    Binding {
        target: scrubber.model
        property: "focused"
        value: scrubber.activeFocus
    }

    Behavior on presence {
        enabled: scrubber.Skinned.environment.allows("controls")
        NumberAnimation {
            duration: scrubber.spring.duration
            easing: scrubber.spring.easing
        }
    }
    readonly property kitAnimation spring: KitMotion.spring(0.16)

    // Appears when it can first be seen; out of sight its motions end at once.
    readonly property bool onScreen: Presence.onScreen
    Component.onCompleted: if (onScreen) model.appear()
    Component.onDestruction: model.reset()
    onOnScreenChanged: {
        if (onScreen)
            model.appear();
        else
            model.reset();
    }

    ScrubberTrack {
        x: -bleed
        y: -bleed
        width: scrubber.width + 2 * bleed
        height: scrubber.height + 2 * bleed
        style: scrubber.model.style
        fraction: scrubber.model.trackFraction
        active: scrubber.presence
        live: scrubber.model.enabled
        swell: scrubber.model.swell
        swellShape: scrubber.model.swellShape
    }

    // Stands 4 points outside the scrubber; takes no hits.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -4
        visible: scrubber.activeFocus
        radius: 4
        color: "transparent"
        border.color: scrubber.Skinned.palette.accent
        border.width: 1.5
    }

    MouseArea {
        id: pointer

        property real lastX: 0

        anchors.fill: parent
        hoverEnabled: scrubber.enabled
        preventStealing: true
        onPressed: mouse => {
            lastX = mouse.x;
            scrubber.model.dragChanged(mouse.x, width);
        }
        onPositionChanged: mouse => {
            if (!pressed)
                return;
            lastX = mouse.x;
            scrubber.model.dragChanged(mouse.x, width);
        }
        onReleased: mouse => scrubber.model.dragEnded(mouse.x, width)
        onCanceled: scrubber.model.dragEnded(lastX, width)
    }
}
