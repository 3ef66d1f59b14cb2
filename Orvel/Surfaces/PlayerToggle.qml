import QtQuick
import Orvel
import Orvel.Shared

// The shuffle or the repeat key of the player views: on while Spotify has
// it on, disabled where Spotify cannot change it, and a click flips it as
// the coordinator shows it when the command goes out.
FunctionButton {
    id: toggle

    // "shuffle" or "repeat".
    property string kind: "shuffle"
    readonly property bool shuffles: kind === "shuffle"

    objectName: kind
    glyph: shuffles ? "shuffle" : "loop"
    label: Design.localized(shuffles ? "Shuffle" : "Repeat")
    isOn: shuffles ? PlaybackCoordinator.shuffle : PlaybackCoordinator.repeatEnabled
    enabled: shuffles ? PlaybackCoordinator.canShuffle : PlaybackCoordinator.canRepeat
    onClicked: shuffles ? PlaybackCoordinator.sendShuffleToggle() : PlaybackCoordinator.sendRepeatToggle()
}
