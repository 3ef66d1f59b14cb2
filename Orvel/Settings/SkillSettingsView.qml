import QtQuick
import Orvel
import Orvel.Shared

// The "Skill bar" page: where the top player shows the bar, and its six
// slots, each opening its editor in a popover under it. A slot the dashboard
// was asked to open (DashboardState.skillSlot) is taken over when the page
// appears and whenever it changes.
//     SkillSettingsView { onNewShortcut: slot => screen.newShortcut(slot) }
SkinCard {
    id: page

    // "New from a link…" in a slot's editor, after the editor closed.
    signal newShortcut(int slot)

    readonly property SkillSettingsModel model: SkillSettingsModel {
        player: PlaybackCoordinator
        preferences: Preferences
        state: DashboardState
        palette: page.Skinned.palette
        onNewShortcut: slot => page.newShortcut(slot)
    }

    radius: 20
    padding: 22

    Component.onCompleted: model.appear()

    contentItem: Column {
        id: content
        spacing: 22

        Column {
            width: content.width
            spacing: 5
            Text {
                textFormat: Text.PlainText
                color: page.Skinned.palette.text
                font: SkinFonts.system(17, "semibold")
                text: Design.localized("Skill bar")
            }
            Text {
                textFormat: Text.PlainText
                width: parent.width
                color: page.Skinned.palette.muted
                font: SkinFonts.system(12)
                wrapMode: Text.Wrap
                text: Design.localized("Six slots in the top player. One click starts a favorite.")
            }
        }

        Column {
            objectName: "placements"
            width: content.width
            spacing: 10

            // Fixed counts: the delegates stay while their values change, so
            // a click never destroys the card or tile it lands on.
            Repeater {
                model: 2
                Row {
                    id: cardRow
                    required property int index
                    readonly property real tallest: {
                        let height = 0;
                        for (let i = 0; i < children.length; ++i)
                            height = Math.max(height, children[i].implicitHeight);
                        return height;
                    }
                    width: content.width
                    height: tallest
                    spacing: 10

                    Repeater {
                        model: 2
                        ChoiceCard {
                            required property int index
                            readonly property var card: page.model.placements[2 * cardRow.index + index]
                            objectName: "placementCard"
                            width: (cardRow.width - cardRow.spacing) / 2
                            height: cardRow.height
                            compact: true
                            title: card.title
                            detail: card.detail
                            selected: card.selected
                            onClicked: page.model.choosePlacement(card.placement)
                        }
                    }
                }
            }
        }

        Row {
            id: slotRow
            objectName: "slotRow"
            width: content.width
            spacing: 12
            opacity: page.model.slotRowOpacity

            Repeater {
                model: 6
                SkillSlotTile {
                    id: tile
                    required property int index
                    objectName: "slotTile"
                    width: (slotRow.width - 5 * slotRow.spacing) / 6
                    look: page.model.tiles[index]
                    onClicked: page.model.open(index)

                    // Open exactly while the page's open slot is this one.
                    function follow() {
                        if (page.model.openSlot === index)
                            popover.open();
                        else
                            popover.close();
                    }
                    Component.onCompleted: follow()
                    Connections {
                        target: page.model
                        function onOpenSlotChanged() {
                            tile.follow();
                        }
                    }

                    SkinPopover {
                        id: popover
                        objectName: "slotPopover"
                        x: (tile.width - width) / 2
                        y: tile.height + 8
                        // A dismissal closes only this slot, never one opened since.
                        onClosed: page.model.dismissed(tile.index)

                        SkillSlotEditor {
                            index: tile.index
                            onNewShortcut: page.model.startNewShortcut(tile.index)
                        }
                    }
                }
            }
        }

        Text {
            textFormat: Text.PlainText
            width: content.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(11)
            wrapMode: Text.Wrap
            text: Design.localized("Radios, mixes and Discover Weekly are playlists: in Spotify choose Share → Copy link.")
        }
    }
}
