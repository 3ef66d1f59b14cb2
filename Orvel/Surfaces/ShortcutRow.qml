import QtQuick
import Orvel
import Orvel.Shared

// One shortcut's face in the list: title and kind; in classico beside its
// glyph tile and a play mark.
Item {
    id: row

    property string title
    property string kind
    property string glyph: "note"
    readonly property bool classico: Skinned.skin === "classico"
    readonly property string kindName: ShortcutMenu.kindName(kind)
    // Stack spacing 12 on both sides of a spacer of at least 8 (rivista) or 6 (classico).
    readonly property real titleKindGap: 12 + 8 + 12
    readonly property real textsPlayGap: 12 + 6 + 12

    implicitWidth: classico ? classicoRow.implicitWidth : rivistaRow.implicitWidth
    implicitHeight: classico ? classicoRow.height + 8 : rivistaRow.height + 22

    // rivista: title and kind on one baseline.
    Item {
        id: rivistaRow
        visible: !row.classico
        y: 11
        width: row.width
        height: rivistaTitle.implicitHeight
        implicitWidth: rivistaTitle.implicitWidth + row.titleKindGap + rivistaKind.implicitWidth
        Text {
            textFormat: Text.PlainText
            id: rivistaTitle
            width: Math.min(implicitWidth, row.width - rivistaKind.implicitWidth - row.titleKindGap)
            text: row.title
            color: row.Skinned.palette.text
            font: Typography.system(15, 600)
            elide: Text.ElideRight
            maximumLineCount: 1
        }
        Text {
            textFormat: Text.PlainText
            id: rivistaKind
            anchors.right: parent.right
            anchors.baseline: rivistaTitle.baseline
            text: row.kindName
            color: row.Skinned.palette.muted
            font: Typography.system(11)
        }
    }

    // classico: glyph tile, title over kind, play mark.
    Item {
        id: classicoRow
        visible: row.classico
        y: 4
        width: row.width
        height: 38
        implicitWidth: 38 + 12 + texts.implicitWidth + row.textsPlayGap + 11
        Rectangle {
            id: tile
            objectName: "glyphTile"
            width: 38
            height: 38
            radius: 10
            color: Qt.alpha(row.Skinned.palette.accent, 0.08 * row.Skinned.palette.accent.a)
            SkillGlyphImage {
                anchors.centerIn: parent
                glyph: row.glyph
                size: 15
                color: row.Skinned.palette.accent
            }
        }
        Column {
            id: texts
            x: tile.width + 12
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - x - row.textsPlayGap - 11
            spacing: 3
            Text {
                textFormat: Text.PlainText
                width: parent.width
                text: row.title
                color: row.Skinned.palette.text
                font: Typography.system(12, 500)
                elide: Text.ElideRight
                maximumLineCount: 1
            }
            Text {
                textFormat: Text.PlainText
                text: row.kindName
                color: row.Skinned.palette.muted
                font: Typography.system(10)
            }
        }
        GlyphView {
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: 11
            height: 11
            glyph: "play"
            size: 11
            color: row.Skinned.palette.muted
        }
    }
}
