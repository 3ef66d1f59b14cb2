import QtQuick
import Orvel
import Orvel.Shared

// The three animation presets as cards of equal height, and under them at
// most one note: light mode first, else a mix that matches no preset. The
// whole picker is dimmed in light mode and still applies its presets.
Column {
    id: picker

    property bool compact: false

    readonly property AnimationPresetModel model: AnimationPresetModel {
        preferences: Preferences
        compact: picker.compact
    }

    spacing: 8
    opacity: model.opacity

    Row {
        id: cards

        // The tallest card's height, so the cards stand level.
        readonly property real tallest: {
            let height = 0;
            for (let i = 0; i < children.length; ++i)
                height = Math.max(height, children[i].implicitHeight);
            return height;
        }

        width: picker.width
        height: tallest
        spacing: picker.model.spacing

        // Three fixed cards whose values change: a click never destroys its card.
        Repeater {
            model: 3
            ChoiceCard {
                required property int index
                readonly property var modelData: picker.model.cards[index]
                objectName: "presetCard"
                width: (cards.width - 2 * cards.spacing) / 3
                height: cards.height
                compact: picker.compact
                title: modelData.title
                detail: modelData.detail
                selected: modelData.selected
                onClicked: picker.model.select(modelData.preset)
            }
        }
    }

    Row {
        objectName: "presetNote"
        visible: picker.model.note !== "none"
        spacing: 5

        SymbolView {
            anchors.verticalCenter: parent.verticalCenter
            visible: picker.model.note === "light"
            width: 12
            height: 12
            name: "leaf"
            size: 11
            color: picker.Skinned.palette.accent
        }
        Text {
            textFormat: Text.PlainText
            color: picker.model.note === "light" ? picker.Skinned.palette.accent : picker.Skinned.palette.muted
            font: SkinFonts.system(11)
            text: picker.model.noteText
        }
    }
}
