import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The on/off switch of a boolean setting. It never keeps its own flip: it
// shows `isOn` and asks for the change with toggled(); an owner that refuses
// the change sees the switch return.
//     SkinToggle { label: …; isOn: Preferences.dragEnabled; onToggled: on => Preferences.dragEnabled = on }
// Both skins draw from the palette; no Qt Quick Controls style is involved,
// so the look does not depend on which one the process picked.
Item {
    id: root

    property bool isOn: false
    property string label

    signal toggled(bool on)

    // 0 off, 1 on; animated only when isOn changes.
    property real position: isOn ? 1 : 0
    Behavior on position {
        enabled: root.style.animation.enabled
        NumberAnimation {
            duration: root.style.animation.duration
            easing: root.style.animation.easing
        }
    }

    readonly property SkinToggleStyle style: SkinToggleStyle {
        palette: root.Skinned.palette
        on: root.isOn
        position: root.position
        motionAllowed: root.Skinned.environment.allows("controls")
        reduceMotion: root.Skinned.environment.reduceMotion
    }

    implicitWidth: style.trackWidth
    implicitHeight: style.trackHeight

    // Track and knob, as the style places and colours them.
    component Drawing: Item {
        implicitWidth: root.style.trackWidth
        implicitHeight: root.style.trackHeight
        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: root.style.track
            border.width: root.style.trackBorderWidth
            border.color: root.style.trackBorder
        }
        Rectangle {
            x: root.style.knobX
            y: root.style.knobY
            width: root.style.knobSize
            height: root.style.knobSize
            radius: width / 2
            color: root.style.knob
        }
    }

    // Classico: a switch as the platform has it, in the accent colour; the
    // Switch template supplies its accessibility.
    T.Switch {
        id: platform
        anchors.centerIn: parent
        visible: root.style.platformSwitch
        implicitWidth: root.style.trackWidth
        implicitHeight: root.style.trackHeight
        padding: 0
        spacing: 0
        opacity: enabled ? 1 : root.style.disabledOpacity
        checked: root.isOn
        Accessible.name: root.label

        indicator: Drawing {}

        onToggled: {
            const requested = checked;
            // Back to showing the bound value; the owner decides.
            checked = Qt.binding(() => root.isOn);
            root.toggled(requested);
        }
    }

    // Rivista: a drawn capsule.
    T.AbstractButton {
        id: drawn
        anchors.centerIn: parent
        visible: !root.style.platformSwitch
        implicitWidth: root.style.trackWidth
        implicitHeight: root.style.trackHeight
        padding: 0
        Accessible.role: Accessible.CheckBox
        Accessible.name: root.label
        Accessible.description: root.style.accessibilityValue
        Accessible.checkable: true
        Accessible.checked: root.isOn

        onClicked: root.toggled(!root.isOn)

        contentItem: Drawing {}
    }
}
