import QtQuick
import Orvel
import Orvel.Shared

// The top player's page: dragging, translucency while idle and how far, and a
// reset of every stored position. Each control writes one setting.
SkinCard {
    id: page

    readonly property TopPlayerSettingsModel model: TopPlayerSettingsModel {
        idleOpacity: Preferences.idleOpacity
        playerPositions: Preferences.playerPositions
    }

    padding: 22

    contentItem: Column {
        spacing: 19

        Text {
            textFormat: Text.PlainText
            objectName: "title"
            width: parent.width
            color: page.Skinned.palette.text
            font: SkinFonts.system(17, "semibold")
            text: Design.localized("A player that moves with you.")
            wrapMode: Text.Wrap
        }
        Row {
            spacing: 10
            SkinToggle {
                objectName: "dragSwitch"
                anchors.verticalCenter: parent.verticalCenter
                label: Design.localized("Drag the top player")
                isOn: Preferences.dragEnabled
                onToggled: on => Preferences.dragEnabled = on
            }
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                color: page.Skinned.palette.text
                font: SkinFonts.system(13)
                text: Design.localized("Drag the top player")
            }
        }
        Text {
            textFormat: Text.PlainText
            width: parent.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(11)
            text: Design.localized("Drag its header to move it around the display. Each screen remembers its position. Double-click the header to return to the top.")
            wrapMode: Text.Wrap
        }
        SectionRule {}
        Row {
            spacing: 10
            SkinToggle {
                objectName: "translucencySwitch"
                anchors.verticalCenter: parent.verticalCenter
                label: Design.localized("Translucent when idle")
                isOn: Preferences.compactTranslucency
                onToggled: on => Preferences.compactTranslucency = on
            }
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                color: page.Skinned.palette.text
                font: SkinFonts.system(13)
                text: Design.localized("Translucent when idle")
            }
        }
        Text {
            textFormat: Text.PlainText
            width: parent.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(11)
            text: Design.localized("The compact player becomes translucent when the pointer moves away. It returns to full contrast on hover.")
            wrapMode: Text.Wrap
        }
        VisualizerSliderRow {
            objectName: "opacityRow"
            visible: Preferences.compactTranslucency
            width: parent.width
            spacing: 8
            titleWidth: -1
            valueWidth: 36
            title: Design.localized("Background opacity")
            value: Preferences.idleOpacity
            from: page.model.minimumOpacity
            to: page.model.maximumOpacity
            valueText: page.model.opacityText
            onMoved: value => Preferences.idleOpacity = value
        }
        PressFeedbackStyle {
            id: resetButton
            objectName: "resetPositions"
            text: Design.localized("Reset all player positions")
            enabled: page.model.canResetPositions
            Accessible.name: text
            onClicked: Preferences.resetPlayerPositions()
            leftPadding: 11
            rightPadding: 11
            topPadding: 5
            bottomPadding: 5
            background: Rectangle {
                radius: 6
                color: resetButton.lit(page.Skinned.palette.fillStrong)
                border.width: 1
                border.color: page.Skinned.palette.stroke
            }
            contentItem: Text {
                textFormat: Text.PlainText
                color: resetButton.lit(page.Skinned.palette.text)
                font: SkinFonts.system(13)
                text: resetButton.text
                Accessible.ignored: true
            }
        }
    }
}
