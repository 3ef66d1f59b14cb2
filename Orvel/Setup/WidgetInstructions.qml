import QtQuick
import Orvel
import Orvel.Shared

// How to add a desktop widget, in three numbered steps; one paragraph
// instead where the desktop has no widgets. Give it a width.
Column {
    id: instructions

    readonly property WidgetGuideStyle style: WidgetGuideStyle { palette: instructions.Skinned.palette }
    function faded(c, opacity) {
        return Qt.rgba(c.r, c.g, c.b, c.a * opacity);
    }
    readonly property bool supported: WidgetSupport.isSupported

    spacing: 12

    Repeater {
        model: instructions.supported ? instructions.style.steps : []
        Row {
            required property int index
            required property string modelData
            objectName: "step"
            width: instructions.width
            spacing: 12

            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                width: 18
                horizontalAlignment: Text.AlignHCenter
                color: instructions.Skinned.palette.muted
                font: instructions.style.numberFont
                text: Design.localized("%lld", [index + 1])
            }
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                width: Math.max(0, parent.width - 18 - parent.spacing)
                color: instructions.faded(instructions.Skinned.palette.text, 0.88)
                font: SkinFonts.system(13)
                text: modelData
                wrapMode: Text.Wrap
            }
        }
    }

    Text {
        textFormat: Text.PlainText
        objectName: "unsupportedParagraph"
        visible: !instructions.supported
        width: instructions.width
        color: instructions.Skinned.palette.text
        font: SkinFonts.system(13)
        text: Design.localized(
                  "Orvel widgets require macOS 14 or later. On this Mac, use the top player and right sidebar to control Spotify.")
        wrapMode: Text.Wrap
    }
}
