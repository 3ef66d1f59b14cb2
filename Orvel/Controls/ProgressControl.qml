import QtQuick
import Orvel
import Orvel.Shared

// The playback-position bar: a progress scrubber over the track that seeks
// on commit, above the elapsed and remaining times, which move once a second
// and follow the position being edited.
Item {
    id: control

    // Told when an edit begins (true) and ends (false).
    signal hold(bool editing)

    // The elapsed time's size in rivista.
    property real readoutSize: 17
    readonly property ProgressControlModel model: ProgressControlModel {
        coordinator: PlaybackCoordinator
        shown: control.Presence.onScreen
        skin: control.Skinned.skin
        readoutSize: control.readoutSize
        onHold: editing => control.hold(editing)
    }

    implicitWidth: 240
    implicitHeight: column.implicitHeight

    Column {
        id: column

        width: control.width
        spacing: control.model.spacing

        OrvelScrubber {
            objectName: "scrubber"
            width: column.width
            model: control.model.scrubber
        }

        // The scrubber's value speaks for them.
        Item {
            width: column.width
            height: Math.max(elapsed.height, remaining.height)
            Accessible.ignored: true

            TimeText {
                id: elapsed
                objectName: "elapsed"
                Accessible.ignored: true
                text: control.model.elapsedText
                size: control.model.elapsedSize
                emphasized: control.model.elapsedEmphasized
            }
            TimeText {
                id: remaining
                objectName: "remaining"
                Accessible.ignored: true
                anchors.right: parent.right
                anchors.baseline: elapsed.baseline
                text: control.model.remainingText
                size: control.model.remainingSize
            }
        }
    }
}
