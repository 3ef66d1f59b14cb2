import QtQuick
import Orvel
import Orvel.Shared

// A guided-setup page's title (up to two lines) over its subtitle, which
// wraps and is never cut. The texts are shown as given.
Column {
    id: header

    property string title
    property string subtitle

    spacing: 10

    TitleText {
        objectName: "pageTitle"
        width: header.width
        size: 34
        lines: 2
        text: header.title
    }
    Text {
        textFormat: Text.PlainText
        objectName: "pageSubtitle"
        width: header.width
        color: header.Skinned.palette.muted
        font: SkinFonts.system(14)
        lineHeightMode: Text.FixedHeight
        lineHeight: metrics.lineSpacing + 4
        text: header.subtitle
        wrapMode: Text.Wrap

        FontMetrics {
            id: metrics
            font: SkinFonts.system(14)
        }
    }
}
