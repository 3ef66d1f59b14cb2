import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// A small plain text button in the accent colour; no press effect of its own.
T.AbstractButton {
    id: control

    property string title

    text: title
    hoverEnabled: true
    padding: 0
    implicitWidth: implicitContentWidth
    implicitHeight: implicitContentHeight

    contentItem: Text {
        textFormat: Text.PlainText
        color: control.Skinned.palette.accent
        font: SkinFonts.textLink(control.Skinned.skin)
        text: control.title
    }
}
