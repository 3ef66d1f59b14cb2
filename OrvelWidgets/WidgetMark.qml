import QtQuick
import Orvel.Shared
import Orvel.WidgetKit

// The brand mark of the widget headers: the environment palette's accent in
// full colour; in the other modes the colour around it, in the accent group.
GlyphView {
    property color foreground: Widget.secondary

    glyph: "mark"
    Widget.accentable: true
    color: Widget.renderingMode === "fullColor" ? Skinned.palette.accent : Widget.foreground(foreground)
}
