import QtQuick
import Orvel
import Orvel.Shared

// The small caption above a section; classico writes it in capitals.
Item {
    id: root

    property string text

    implicitWidth: label.implicitWidth
    implicitHeight: label.implicitHeight

    Text {
        textFormat: Text.PlainText
        id: label
        width: root.width
        color: Skinned.palette.muted
        font: SkinFonts.eyebrow(Skinned.skin)
        text: SkinFonts.eyebrowText(Skinned.skin, root.text)
        elide: Text.ElideRight
    }
}
