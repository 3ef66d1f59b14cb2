import QtQuick
import Orvel
import Orvel.Shared

// The square icon button: one of our glyphs (`glyph`) or a system symbol
// (`symbol`), its label as help tooltip and accessibility name.
PressFeedbackStyle {
    id: control

    property string glyph
    property string symbol
    property string label
    property bool selected: false
    property real size: 30

    readonly property GlyphButtonStyle style: GlyphButtonStyle {
        palette: control.Skinned.palette
        selected: control.selected
        size: control.size
        symbol: control.symbol !== ""
    }

    text: label
    Accessible.name: label
    Accessible.description: style.accessibilityValue

    contentItem: Item {
        implicitWidth: control.size
        implicitHeight: control.size

        Rectangle {
            anchors.fill: parent
            radius: control.style.radius
            color: control.lit(control.style.background)
        }
        GlyphView {
            anchors.fill: parent
            visible: control.symbol === ""
            glyph: control.glyph
            size: control.style.iconSize
            color: control.lit(control.style.foreground)
        }
        SymbolView {
            anchors.fill: parent
            visible: control.symbol !== ""
            name: control.symbol
            size: control.style.iconSize
            weight: control.style.symbolWeight
            color: control.lit(control.style.foreground)
        }
    }

    HelpTip {
        anchors.fill: parent
        text: control.label
        active: control.hovered
    }
}
