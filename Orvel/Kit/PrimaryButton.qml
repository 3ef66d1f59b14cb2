import QtQuick
import Orvel
import Orvel.Shared

// The filled capsule of a screen's main action; an optional glyph follows
// the title. The capsule grows with the title.
PressFeedbackStyle {
    id: control

    property string title
    property string glyph

    readonly property PrimaryButtonStyle style: PrimaryButtonStyle {
        palette: control.Skinned.palette
    }

    text: title
    leftPadding: style.horizontalPadding
    rightPadding: style.horizontalPadding
    topPadding: style.verticalPadding
    bottomPadding: style.verticalPadding

    contentItem: Row {
        spacing: control.style.spacing

        Text {
            textFormat: Text.PlainText
            anchors.verticalCenter: parent.verticalCenter
            color: control.lit(control.style.foreground)
            font: control.style.font
            text: control.title
        }
        GlyphView {
            anchors.verticalCenter: parent.verticalCenter
            visible: control.glyph !== ""
            glyph: control.glyph
            size: control.style.glyphSize
            color: control.lit(control.style.foreground)
        }
    }

    background: KitShape {
        capsule: true
        fill: control.lit(control.style.fill)
        fillEnd: control.lit(control.style.fillEnd)
        fillDiagonal: true
        stroke: control.lit(control.style.border)
        strokeWidth: 1
    }
}
