import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The card that points to the desktop widgets; the page makes it a button's label.
SkinCard {
    id: card

    radius: 18
    padding: 17

    contentItem: RowLayout {
        spacing: 17

        Rectangle {
            Layout.preferredWidth: 47
            Layout.preferredHeight: 47
            radius: 13
            color: Qt.rgba(card.Skinned.palette.accent.r, card.Skinned.palette.accent.g, card.Skinned.palette.accent.b, 0.07)
            SymbolView {
                anchors.centerIn: parent
                size: 22
                name: "square.grid.2x2"
                color: card.Skinned.palette.accent
            }
        }
        Column {
            Layout.fillWidth: true
            spacing: 5
            Text {
                textFormat: Text.PlainText
                objectName: "widgetsTitle"
                width: parent.width
                color: card.Skinned.palette.text
                font: SkinFonts.system(14, "semibold")
                text: WidgetSupport.title
                elide: Text.ElideRight
            }
            Text {
                textFormat: Text.PlainText
                objectName: "widgetsSubtitle"
                width: parent.width
                color: card.Skinned.palette.muted
                font: SkinFonts.system(11)
                text: WidgetSupport.subtitle
                wrapMode: Text.Wrap
            }
        }
        GlyphView {
            Layout.preferredWidth: 15
            Layout.preferredHeight: 15
            size: 15
            glyph: "external"
            color: card.Skinned.palette.accent
        }
    }
}
