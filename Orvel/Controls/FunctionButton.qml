import QtQuick
import Orvel
import Orvel.Shared

// The toggle of a function such as shuffle or repeat: a glyph button that
// shows whether the function is on (selected; in rivista also a small accent
// dot under it). Shuffle and loop draw the system's symbols.
GlyphButton {
    id: button

    property bool isOn: false

    readonly property FunctionButtonStyle functionStyle: FunctionButtonStyle {
        palette: button.Skinned.palette
        glyph: button.glyph
        on: button.isOn
    }

    size: functionStyle.defaultSize
    symbol: functionStyle.symbol
    selected: isOn
    Accessible.description: functionStyle.accessibilityValue

    Rectangle {
        visible: button.functionStyle.showsDot
        width: button.functionStyle.dotSize
        height: width
        radius: width / 2
        x: (button.width - width) / 2
        y: button.height - height + button.functionStyle.dotDrop
        color: button.Skinned.palette.accent
        Accessible.ignored: true
    }
}
