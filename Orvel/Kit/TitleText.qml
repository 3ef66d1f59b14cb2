import QtQuick
import Orvel
import Orvel.Shared

// A title in the skin's title face: one line cut at the end unless `lines`
// is another count, or null for as many lines as it needs.
Text {
    textFormat: Text.PlainText
    property real size: 13
    property var lines: 1

    color: Skinned.palette.text
    font: SkinFonts.title(Skinned.skin, size)
    wrapMode: Text.Wrap
    maximumLineCount: lines === null || lines === undefined ? 2147483647 : lines
    elide: Text.ElideRight
}
