import QtQuick
import Orvel.Shared

// The small visualizer in the Now playing header. A new identity (track,
// playing state, whole second) replaces the drawing with a cross-fade, or at
// once under Reduce Motion.
Item {
    id: root

    property string identity
    property var settings
    property bool playing
    property real time
    property bool reducedMotion
    property bool monochrome
    property Item current: null

    implicitWidth: 22
    implicitHeight: 13

    Component {
        id: drawingComponent

        VisualizerDrawing {
            property bool entered: false
            property bool leaving: false

            anchors.fill: parent
            settings: root.settings
            playing: root.playing
            time: root.time
            reducedMotion: root.reducedMotion
            monochrome: root.monochrome
            compact: true
            opacity: entered && !leaving ? 1 : 0
            Accessible.ignored: true

            Behavior on opacity {
                enabled: !root.reducedMotion

                NumberAnimation {
                    duration: 600
                    easing.type: Easing.InOutQuad
                }
            }

            onOpacityChanged: {
                if (leaving && opacity === 0)
                    destroy();
            }
        }
    }

    function replace(first) {
        if (current)
            current.leaving = true;
        current = drawingComponent.createObject(root, {
            "entered": first
        });
        if (!first)
            current.entered = true;
    }

    onIdentityChanged: {
        if (current)
            replace(false);
    }
    Component.onCompleted: replace(true)
}
