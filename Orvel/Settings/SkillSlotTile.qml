import QtQuick
import Orvel
import Orvel.Shared

// One slot of the skill-bar page: its badge over a caption of up to two
// lines, in a frame that keeps all six badges level. Clicking it opens the
// slot's editor.
PressFeedbackStyle {
    id: tile

    // One of SkillSettingsModel.tiles.
    property var look: ({})

    Accessible.name: look.accessibleName ?? ""
    Accessible.description: Design.localized("Choose a favorite")

    contentItem: Column {
        spacing: 8

        Item {
            objectName: "badge"
            anchors.horizontalCenter: parent.horizontalCenter
            width: 48
            height: 48

            SlotOutline {
                anchors.fill: parent
                circle: tile.look.circle ?? false
                radius: 12
                fill: tile.lit(tile.look.fill ?? "transparent")
                stroke: tile.lit(tile.look.stroke ?? "transparent")
                strokeWidth: tile.look.strokeWidth ?? 0
                dashed: tile.look.dashed ?? false
            }
            SkillGlyphImage {
                anchors.centerIn: parent
                visible: tile.look.filled ?? false
                glyph: tile.look.glyph ?? ""
                size: 18
                color: tile.lit(tile.look.glyphColor ?? "transparent")
            }
            GlyphView {
                anchors.centerIn: parent
                visible: !(tile.look.filled ?? false)
                glyph: "add"
                size: 16
                color: tile.lit(tile.look.glyphColor ?? "transparent")
            }
        }

        Item {
            width: parent.width
            height: 28
            Text {
                textFormat: Text.PlainText
                objectName: "caption"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
                color: tile.lit(tile.look.captionColor ?? "transparent")
                font: SkinFonts.system(11, tile.look.captionWeight ?? "")
                text: tile.look.caption ?? ""
                Accessible.ignored: true
            }
        }
    }
}
