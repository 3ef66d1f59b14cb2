import QtQuick
import Orvel
import Orvel.Shared

// Lets the user choose the skin: a card per skin, rivista first, each with a
// miniature of the player in that skin. A click writes Preferences.skin, also
// for the skin already chosen.
Column {
    id: picker

    readonly property SkinPickerStyle style: SkinPickerStyle {
        current: Preferences.skin
    }

    spacing: 14

    Column {
        spacing: 4
        Text {
            textFormat: Text.PlainText
            color: picker.Skinned.palette.text
            font: SkinFonts.system(15, "semibold")
            text: picker.style.title
        }
        Text {
            textFormat: Text.PlainText
            color: picker.Skinned.palette.muted
            font: SkinFonts.system(12)
            text: picker.style.subtitle
        }
    }

    Row {
        id: cards
        width: picker.width
        spacing: 14

        Repeater {
            model: picker.style.cards

            PressFeedbackStyle {
                id: card
                required property var modelData
                objectName: "card-" + modelData.skin
                width: (cards.width - cards.spacing) / 2
                text: modelData.title
                Accessible.name: modelData.accessibleName
                Accessible.description: modelData.accessibleValue

                onClicked: Preferences.skin = modelData.skin

                contentItem: SkinFill {
                    strong: card.modelData.selected
                    brightness: card.brightness
                    padding: 12

                    contentItem: Column {
                        spacing: 10
                        Accessible.ignored: true

                        SkinSwatch {
                            width: parent.width
                            height: 96
                            skin: card.modelData.skin
                            brightness: card.brightness
                        }
                        Row {
                            spacing: 8
                            SelectionDot {
                                anchors.verticalCenter: parent.verticalCenter
                                on: card.modelData.selected
                                brightness: card.brightness
                            }
                            Text {
                                textFormat: Text.PlainText
                                anchors.verticalCenter: parent.verticalCenter
                                color: card.lit(card.Skinned.palette.text)
                                font: SkinFonts.system(13, "semibold")
                                text: card.modelData.title
                                Accessible.ignored: true
                            }
                        }
                        Text {
                            textFormat: Text.PlainText
                            width: parent.width
                            color: card.lit(card.Skinned.palette.muted)
                            font: SkinFonts.system(11)
                            text: card.modelData.detail
                            wrapMode: Text.Wrap
                            Accessible.ignored: true
                        }
                    }
                }
            }
        }
    }
}
