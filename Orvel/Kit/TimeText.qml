import QtQuick
import Orvel
import Orvel.Shared

// A time readout in the skin's numeric face.
Text {
    textFormat: Text.PlainText
    property real size: 11
    property bool emphasized: false

    color: SkinFonts.timeColor(Skinned.palette, emphasized)
    font: SkinFonts.time(Skinned.skin, size)
}
