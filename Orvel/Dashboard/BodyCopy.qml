import QtQuick
import Orvel
import Orvel.Shared

// Explanatory copy: muted, three points looser than the font's own lines,
// wrapping to its full height within 560.
Text {
    textFormat: Text.PlainText
    width: Math.min(parent ? parent.width : implicitWidth, 560)
    color: Skinned.palette.muted
    font: SkinFonts.system(13)
    wrapMode: Text.Wrap
    lineHeightMode: Text.FixedHeight
    lineHeight: lineMetrics.lineSpacing + 3

    FontMetrics {
        id: lineMetrics
        font: SkinFonts.system(13)
    }
}
