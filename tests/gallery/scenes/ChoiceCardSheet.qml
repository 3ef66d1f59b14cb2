import QtQuick
import Orvel
import Orvel.Shared

// Choice cards in a row of equal heights, selected or not; a hovered one;
// then the compact form.
Sheet {
    Row {
        spacing: 12
        height: 96
        ChoiceCard {
            width: 170
            height: parent.height
            title: "Row"
            detail: "Six keys under the player."
            selected: true
        }
        ChoiceCard {
            width: 170
            height: parent.height
            title: "Wings"
            detail: "Three keys on each side of the player, when the screen is wide enough."
        }
        ChoiceCard {
            width: 170
            height: parent.height
            title: "Peek"
            detail: "Keys slide out while the pointer rests."
            shownHovered: true
        }
    }
    Row {
        spacing: 12
        height: 70
        ChoiceCard {
            width: 170
            height: parent.height
            compact: true
            title: "Essential"
            detail: "Only the animations that explain a change."
            selected: true
        }
        ChoiceCard {
            width: 170
            height: parent.height
            compact: true
            title: "None"
            detail: "Everything still."
        }
    }
}
