import QtQuick
import Orvel.Shared

// The small animated visualizer beside the track. Bind `settings` and
// `lightEffects` to the user's preferences; it takes no space when the
// visualizer is switched off.
Item {
    id: root

    property alias playing: model.playing
    property alias compact: model.compact
    property alias regularHeight: model.regularHeight
    property alias compactWidth: model.compactWidth
    property alias settings: model.settings
    property alias lightEffects: model.lightEffects
    readonly property alias indicatorState: model

    visible: model.shown
    implicitWidth: model.shown ? model.frameWidth : 0
    implicitHeight: model.shown ? model.frameHeight : 0

    Accessible.role: Accessible.Animation
    Accessible.name: model.accessibleLabel

    PlayingIndicatorState {
        id: model
        onScreen: root.Presence.onScreen
    }

    VisualizerDrawing {
        objectName: "drawing"
        anchors.centerIn: parent
        width: model.compact ? model.frameWidth : root.width
        height: model.frameHeight
        visible: model.shown
        settings: model.settings
        playing: model.playing
        time: model.time
        reducedMotion: model.still
        monochrome: false
        compact: model.compact
        Accessible.ignored: true
    }
}
