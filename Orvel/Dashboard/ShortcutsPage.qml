import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The saved shortcuts: the skill bar's settings, "Add shortcut", the list
// with each row's star, moves, edit and remove (or an invitation while there
// is none), and where they are kept.
Column {
    id: page

    required property Item dashboard
    readonly property DashboardMetrics metrics: DashboardMetrics { skin: page.Skinned.skin }
    readonly property ShortcutsPageModel model: ShortcutsPageModel {
        coordinator: PlaybackCoordinator
        preferences: Preferences
    }

    function addShortcut() {
        page.dashboard.addingSlot = null;
        page.dashboard.adding = true;
    }

    width: parent ? parent.width : implicitWidth
    spacing: metrics.pageSpacing

    SkillSettingsView {
        objectName: "SkillSettingsView"
        width: page.width
        // The skill bar's request for a new shortcut in one of its slots.
        onNewShortcut: slot => page.dashboard.newShortcut(slot)
    }

    Item {
        id: header
        objectName: "shortcutsHeader"
        width: page.width
        implicitHeight: Math.max(intro.y + intro.height, add.y + add.height)

        // The first lines of both sit on one baseline.
        readonly property real addBaseline: add.topPadding + (add.availableHeight - addMetrics.height) / 2
            + addMetrics.ascent

        FontMetrics {
            id: addMetrics
            font: add.style.font
        }
        BodyCopy {
            id: intro
            y: Math.max(0, header.addBaseline - baselineOffset)
            width: Math.min(560, header.width - add.width - 20)
            text: Design.localized("Your favorite tracks, albums, playlists and artists. Add a Spotify link to make it yours.")
        }
        PrimaryButton {
            id: add
            objectName: "addShortcut"
            anchors.right: parent.right
            y: Math.max(0, intro.baselineOffset - header.addBaseline)
            title: Design.localized("Add shortcut")
            glyph: "add"
            focusPolicy: Qt.StrongFocus
            onClicked: page.addShortcut()
            FocusMark {}
        }
    }

    SkinCard {
        objectName: "emptyShortcuts"
        visible: page.model.count === 0
        width: page.width
        radius: 18
        padding: 24

        contentItem: RowLayout {
            spacing: 26
            Image {
                Layout.preferredWidth: 110
                Layout.preferredHeight: 110
                source: Design.image("EmptyShortcuts")
                sourceSize: Qt.size(220, 220)
                fillMode: Image.PreserveAspectFit
                smooth: true
                mipmap: true
                Accessible.ignored: true
            }
            Column {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignVCenter
                spacing: 8
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    color: page.Skinned.palette.text
                    font: SkinFonts.system(19, "semibold")
                    text: Design.localized("Start with a favorite.")
                    wrapMode: Text.Wrap
                }
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    color: page.Skinned.palette.muted
                    font: SkinFonts.system(12)
                    text: Design.localized("In Spotify, choose Share → Copy link.") + "\n"
                        + Design.localized("Then give your shortcut a name here.")
                    wrapMode: Text.Wrap
                    lineHeightMode: Text.FixedHeight
                    lineHeight: helpMetrics.lineSpacing + 4
                    FontMetrics {
                        id: helpMetrics
                        font: SkinFonts.system(12)
                    }
                }
            }
        }
    }

    SkinCard {
        objectName: "shortcutList"
        visible: page.model.count > 0
        width: page.width
        radius: 16
        leftPadding: page.metrics.shortcutListPadding
        rightPadding: page.metrics.shortcutListPadding
        Accessible.role: Accessible.List

        contentItem: Column {
            spacing: 0
            Repeater {
                model: page.model
                delegate: Column {
                    id: entry
                    required property int index
                    required property string title
                    required property string kind
                    required property string glyph
                    required property bool holdsSlot
                    required property string starLabel
                    required property bool starEnabled
                    required property bool canMoveUp
                    required property bool canMoveDown
                    required property bool isLast
                    width: parent ? parent.width : 0

                    RowLayout {
                        objectName: "shortcutEntry"
                        width: entry.width
                        spacing: 6

                        T.AbstractButton {
                            id: openButton
                            objectName: "shortcutRow"
                            Layout.fillWidth: true
                            Layout.topMargin: page.metrics.shortcutRowPadding
                            Layout.bottomMargin: page.metrics.shortcutRowPadding
                            hoverEnabled: true
                            focusPolicy: Qt.StrongFocus
                            padding: 0
                            implicitHeight: implicitContentHeight
                            Accessible.name: entry.title
                            contentItem: ShortcutRow {
                                title: entry.title
                                kind: entry.kind
                                glyph: entry.glyph
                            }
                            onClicked: page.model.open(entry.index)
                            FocusMark {}
                        }
                        GlyphButton {
                            objectName: "star"
                            glyph: "star"
                            size: 26
                            label: entry.starLabel
                            selected: entry.holdsSlot
                            enabled: entry.starEnabled
                            focusPolicy: Qt.StrongFocus
                            onClicked: page.model.toggleSkill(entry.index)
                            FocusMark {}
                        }
                        GlyphButton {
                            objectName: "moveUp"
                            symbol: "chevron.up"
                            size: 26
                            label: Design.localized("Move up")
                            enabled: entry.canMoveUp
                            focusPolicy: Qt.StrongFocus
                            onClicked: page.model.move(entry.index, -1)
                            FocusMark {}
                        }
                        GlyphButton {
                            objectName: "moveDown"
                            symbol: "chevron.down"
                            size: 26
                            label: Design.localized("Move down")
                            enabled: entry.canMoveDown
                            focusPolicy: Qt.StrongFocus
                            onClicked: page.model.move(entry.index, 1)
                            FocusMark {}
                        }
                        GlyphButton {
                            objectName: "edit"
                            symbol: "pencil"
                            size: 26
                            label: Design.localized("Edit")
                            focusPolicy: Qt.StrongFocus
                            onClicked: page.dashboard.editing = page.model.shortcut(entry.index)
                            FocusMark {}
                        }
                        GlyphButton {
                            objectName: "remove"
                            symbol: "trash"
                            size: 26
                            label: Design.localized("Remove")
                            focusPolicy: Qt.StrongFocus
                            onClicked: page.model.remove(entry.index)
                            FocusMark {}
                        }
                    }
                    SectionRule {
                        objectName: "rowRule"
                        visible: !entry.isLast || page.metrics.ruleUnderLastRow
                    }
                }
            }
        }
    }

    Text {
        textFormat: Text.PlainText
        objectName: "footnote"
        width: page.width
        color: page.Skinned.palette.muted
        font: SkinFonts.system(11)
        text: Design.localized("Saved on this Mac. Your sidebar and widgets use the same shortcuts.")
        wrapMode: Text.Wrap
    }
}
