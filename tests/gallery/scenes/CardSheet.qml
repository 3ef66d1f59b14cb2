import QtQuick
import Orvel
import Orvel.Shared

// Cards on a solid ground: the default radius, a small one, and a card in a
// column with the rule stretching to the column's width.
Rectangle {
    color: Skinned.palette.ground
    implicitWidth: 460
    implicitHeight: 200

    Row {
        x: 20
        y: 20
        spacing: 16
        Repeater {
            model: [20, 9]
            SkinCard {
                radius: modelData
                contentItem: Column {
                    padding: 16
                    spacing: 6
                    Eyebrow { text: "radius " + modelData }
                    TitleText {
                        size: 17
                        text: "Skill bar"
                    }
                    Text {
                        color: Skinned.palette.muted
                        font: Typography.role("callout")
                        text: "Six slots for your shortcuts."
                    }
                }
            }
        }
    }
    Label {
        x: 20
        y: parent.height - 30
        text: "cards: " + Skinned.skin
    }
}
