import QtQuick
import Orvel
import Orvel.Shared

// The volume bar: a speaker and a volume scrubber that sets Spotify's volume
// on commit; the speaker follows the value being edited.
Item {
    id: control

    // Told when an edit begins (true) and ends (false).
    signal hold(bool editing)

    readonly property VolumeControlModel model: VolumeControlModel {
        coordinator: PlaybackCoordinator
        onHold: editing => control.hold(editing)
    }

    implicitWidth: 180
    implicitHeight: scrubber.implicitHeight

    SymbolView {
        id: speaker
        width: 14
        height: parent.height
        name: control.model.symbol
        size: 11
        color: control.Skinned.palette.muted
    }
    OrvelScrubber {
        id: scrubber
        objectName: "scrubber"
        anchors.left: speaker.right
        anchors.leftMargin: 8
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        model: control.model.scrubber
    }
}
