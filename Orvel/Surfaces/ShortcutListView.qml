import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The user's shortcuts under a header with "Add shortcut": a click starts
// one, its menu opens, moves, edits or removes it; none gives the invitation.
Column {
    id: list

    readonly property bool classico: Skinned.skin === "classico"
    readonly property var shortcuts: PlaybackCoordinator.shortcutModel

    spacing: classico ? 8 : 0

    function perform(action, id) {
        if (action === "open")
            PlaybackCoordinator.openInSpotify(id)
        else if (action === "moveUp")
            PlaybackCoordinator.moveShortcut(id, -1)
        else if (action === "moveDown")
            PlaybackCoordinator.moveShortcut(id, 1)
        else if (action === "edit")
            DashboardLinks.openShortcutsPage()
        else if (action === "remove")
            PlaybackCoordinator.removeShortcut(id)
    }
    Accessible.role: Accessible.List

    Item {
        id: header
        width: list.width
        height: Math.max(24, title.implicitHeight)
        Text {
            textFormat: Text.PlainText
            id: title
            visible: !list.classico
            anchors.verticalCenter: parent.verticalCenter
            text: Design.localized("Your shortcuts")
            color: list.Skinned.palette.text
            font: Typography.system(13, 700)
        }
        Eyebrow {
            visible: list.classico
            anchors.verticalCenter: parent.verticalCenter
            text: Design.localized("Your shortcuts")
        }
        GlyphButton {
            objectName: "addShortcut"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            glyph: "add"
            label: Design.localized("Add shortcut")
            size: 24
            onClicked: DashboardLinks.openShortcutsPage()
        }
    }
    Item {
        objectName: "headerRule"
        visible: !list.classico
        width: list.width
        height: 6 + SurfaceStyle.ruleHeight
        SectionRule {
            y: 6
        }
    }
    EmptyShortcuts {
        objectName: "emptyShortcuts"
        visible: rows.count === 0
        width: list.width
    }
    Repeater {
        id: rows
        model: list.shortcuts
        Column {
            id: entry
            required property int index
            required property string shortcutID
            required property string title
            required property string kind
            required property string glyph
            width: list.width

            // A plain button: the row itself shows no press feedback.
            T.AbstractButton {
                id: button
                objectName: "shortcutRow"
                width: entry.width
                hoverEnabled: true
                padding: 0
                implicitHeight: implicitContentHeight
                contentItem: ShortcutRow {
                    title: entry.title
                    kind: entry.kind
                    glyph: entry.glyph
                }
                onClicked: PlaybackCoordinator.cast(entry.shortcutID)
                Accessible.name: entry.title

                readonly property ContextMenuModel menu: ContextMenuModel {
                    items: ShortcutMenu.items()
                    onTriggered: action => list.perform(action, entry.shortcutID)
                }
                MouseArea {
                    anchors.fill: parent
                    acceptedButtons: Qt.RightButton
                    onClicked: button.menu.popup()
                }
                HelpTip {
                    anchors.fill: parent
                    text: Design.localized("Play %@", [entry.title])
                    active: button.hovered
                }
            }
            SectionRule {
                objectName: "rowRule"
                visible: !list.classico && entry.index < rows.count - 1
            }
        }
    }
}
