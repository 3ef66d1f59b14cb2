import QtQuick
import Orvel
import Orvel.Shared

// The last failed command's message in orange; absent, taking no room,
// while there is none.
Text {
    textFormat: Text.PlainText
    property real size: 9
    // null: as many lines as it needs.
    property var lines: null

    objectName: "errorLine"
    visible: PlaybackCoordinator.errorKey !== null
    text: visible ? Design.localized(PlaybackCoordinator.errorKey) : ""
    color: Design.color("SystemOrange")
    font: SkinFonts.system(size)
    wrapMode: Text.Wrap
    maximumLineCount: lines === null ? 2147483647 : lines
    elide: Text.ElideRight
}
