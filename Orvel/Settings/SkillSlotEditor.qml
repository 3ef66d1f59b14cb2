import QtQuick
import QtQuick.Layouts
import QtQml
import Orvel
import Orvel.Shared

// The editor of one skill slot: which saved shortcut it holds, that
// shortcut's icon, moves to either side, clearing, or a new shortcut from a
// link. Every action is written at once; only "New from a link…" asks to
// close it (newShortcut).
Column {
    id: editor

    property int index: 0
    signal newShortcut

    readonly property SkillSlotEditorModel model: SkillSlotEditorModel {
        player: PlaybackCoordinator
        preferences: Preferences
        index: editor.index
    }
    readonly property real inner: model.panelWidth - 2 * model.padding

    width: model.panelWidth
    padding: model.padding
    spacing: model.spacing

    Text {
        textFormat: Text.PlainText
        objectName: "editorTitle"
        color: editor.Skinned.palette.text
        font: SkinFonts.system(13, "semibold")
        text: editor.model.title
    }

    // A borderless menu button: the slot's shortcut, or an invitation.
    PressFeedbackStyle {
        id: menuButton
        objectName: "shortcutMenu"
        text: editor.model.menuLabel
        Accessible.role: Accessible.ButtonMenu
        Accessible.name: editor.model.menuLabel

        contentItem: Row {
            spacing: 5
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(implicitWidth, editor.inner - 20)
                elide: Text.ElideRight
                maximumLineCount: 1
                color: menuButton.lit(editor.Skinned.palette.text)
                font: SkinFonts.system(13)
                text: editor.model.menuLabel
            }
            SymbolView {
                anchors.verticalCenter: parent.verticalCenter
                width: 10
                height: 10
                name: "chevron.down"
                size: 10
                color: menuButton.lit(editor.Skinned.palette.muted)
            }
        }

        onClicked: menu.popup(menuButton, 0, menuButton.height + 2)

        SkinMenu {
            id: menu
            objectName: "shortcutMenuItems"

            Instantiator {
                model: editor.model.menuItems
                delegate: SkinMenuItem {
                    required property var modelData
                    text: modelData.title
                    enabled: modelData.enabled
                    onTriggered: editor.model.assign(modelData.id)
                }
                onObjectAdded: (index, item) => menu.insertItem(index, item)
                onObjectRemoved: (index, item) => menu.removeItem(item)
            }
        }
    }

    Column {
        objectName: "iconSection"
        visible: editor.model.filled
        width: editor.inner
        spacing: 8

        Text {
            textFormat: Text.PlainText
            color: editor.Skinned.palette.muted
            font: SkinFonts.system(11)
            text: Design.localized("Icon")
        }
        Grid {
            anchors.horizontalCenter: parent.horizontalCenter
            columns: editor.model.glyphColumns
            columnSpacing: editor.model.glyphSpacing
            rowSpacing: 6

            Repeater {
                // Sixteen or none; the choices stay while the selection moves.
                model: editor.model.glyphs.length
                PressFeedbackStyle {
                    id: choice
                    required property int index
                    readonly property var modelData: editor.model.glyphs[index]
                    objectName: "iconChoice"
                    width: editor.model.glyphCell
                    height: editor.model.glyphCell
                    text: modelData.name
                    Accessible.name: modelData.name
                    Accessible.description: modelData.value
                    onClicked: editor.model.setIcon(modelData.glyph)

                    contentItem: SkinFill {
                        radius: 8
                        strong: choice.modelData.selected
                        brightness: choice.brightness
                        SkillGlyphImage {
                            anchors.centerIn: parent
                            glyph: choice.modelData.glyph
                            size: 13
                            color: choice.lit(choice.modelData.selected ? editor.Skinned.palette.text
                                                                       : editor.Skinned.palette.muted)
                        }
                    }
                    HelpTip {
                        anchors.fill: parent
                        text: choice.modelData.name
                        active: choice.hovered
                    }
                }
            }
        }
    }

    SectionRule {
        width: editor.inner
    }

    RowLayout {
        width: editor.inner
        spacing: 14

        TextLink {
            objectName: "newFromLink"
            title: Design.localized("New from a link…")
            onClicked: editor.newShortcut()
        }
        Item {
            Layout.fillWidth: true
        }
        GlyphButton {
            objectName: "moveLeft"
            symbol: "chevron.left"
            label: Design.localized("Move left")
            size: 24
            enabled: editor.model.canMoveLeft
            onClicked: editor.model.moveLeft()
        }
        GlyphButton {
            objectName: "moveRight"
            symbol: "chevron.right"
            label: Design.localized("Move right")
            size: 24
            enabled: editor.model.canMoveRight
            onClicked: editor.model.moveRight()
        }
        PressFeedbackStyle {
            id: clear
            objectName: "clearSlot"
            visible: editor.model.filled
            text: Design.localized("Clear slot")
            onClicked: editor.model.clear()
            contentItem: Text {
                textFormat: Text.PlainText
                color: clear.lit(editor.Skinned.palette.muted)
                font: SkinFonts.system(12)
                text: clear.text
            }
        }
    }
}
