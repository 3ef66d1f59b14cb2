import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The guided setup's first page: the floating surfaces, how the top player
// moves, the effects and the animations. Every choice goes straight into the
// preferences.
Column {
    id: page

    required property OnboardingFlow flow

    spacing: 24

    RowLayout {
        width: page.width
        spacing: 24
        OnboardingPageHeader {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
            title: Design.localized("Where would you like your music?")
            subtitle: WidgetSupport.surfacesSubtitle
        }
        MarkView {
            Layout.alignment: Qt.AlignVCenter
            Layout.preferredWidth: 96
            Layout.preferredHeight: 96
            size: 96
            variant: "full"
        }
    }

    Row {
        objectName: "surfaceCards"
        width: page.width
        spacing: 16
        SurfaceChoiceCard {
            objectName: "notchCard"
            width: (page.width - 16) / 2
            kind: "notch"
            isOn: Preferences.notchEnabled
            onToggled: on => Preferences.notchEnabled = on
        }
        SurfaceChoiceCard {
            objectName: "sidebarCard"
            width: (page.width - 16) / 2
            kind: "sidebar"
            isOn: Preferences.sidebarEnabled
            onToggled: on => Preferences.sidebarEnabled = on
        }
    }

    Text {
        textFormat: Text.PlainText
        objectName: "surfacesHint"
        width: page.width
        color: page.Skinned.palette.muted
        font: SkinFonts.system(12)
        text: page.flow.surfacesHint
        wrapMode: Text.Wrap
    }

    Item {
        objectName: "movingPlayer"
        visible: page.flow.showsMovingPlayer
        width: page.width
        implicitHeight: 6 + Math.max(136, moves.implicitHeight)

        MovePlayerIllustration {
            objectName: "moveIllustration"
            y: 6
            width: 220
            height: 136
            Accessible.ignored: true
        }
        Column {
            id: moves
            x: 220 + 20
            y: 6
            width: Math.max(0, page.width - x)
            spacing: 9
            Text {
                textFormat: Text.PlainText
                color: page.Skinned.palette.text
                font: SkinFonts.system(15, "semibold")
                text: Design.localized("The top player moves with you")
            }
            Repeater {
                model: [
                    Design.localized("Drag it from the top to place it anywhere. While you move it, it becomes a small island with the cover and the scrolling title."),
                    Design.localized("In the lower half of the screen it opens upward, so you can keep it small near the bottom edge."),
                    Design.localized("To put it back, drop it at the top center or double-click it.")
                ]
                Text {
                    textFormat: Text.PlainText
                    required property string modelData
                    width: moves.width
                    color: page.Skinned.palette.muted
                    font: SkinFonts.system(12)
                    text: modelData
                    wrapMode: Text.Wrap
                }
            }
        }
    }

    Column {
        width: page.width
        topPadding: 6
        spacing: 12
        Text {
            textFormat: Text.PlainText
            color: page.Skinned.palette.text
            font: SkinFonts.system(15, "semibold")
            text: Design.localized("Visual effects")
        }
        EffectsModePicker {
            width: page.width
            compact: false
        }
    }

    Column {
        width: page.width
        spacing: 12
        Text {
            textFormat: Text.PlainText
            color: page.Skinned.palette.text
            font: SkinFonts.system(15, "semibold")
            text: Design.localized("Animations")
        }
        AnimationPresetPicker {
            width: page.width
            compact: true
        }
        Text {
            textFormat: Text.PlainText
            width: page.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(11)
            text: Design.localized("You can switch anytime in Appearance.")
            wrapMode: Text.Wrap
        }
    }
}
