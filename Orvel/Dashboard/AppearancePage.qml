import QtQuick
import Orvel
import Orvel.Shared

// How the player looks and moves: the skin, the effects mode, the
// animations, the visualizer and the top player; one order in both skins.
Column {
    id: page

    readonly property DashboardMetrics metrics: DashboardMetrics { skin: page.Skinned.skin }

    width: parent ? parent.width : implicitWidth
    spacing: metrics.pageSpacing

    SkinPicker {
        objectName: "skinPicker"
        width: page.width
    }

    Column {
        objectName: "effectsGroup"
        width: page.width
        spacing: 14

        Column {
            objectName: "visualEffectsHeading"
            width: parent.width
            spacing: 4
            Text {
                textFormat: Text.PlainText
                width: parent.width
                color: page.Skinned.palette.text
                font: SkinFonts.system(15, "semibold")
                text: Design.localized("Visual effects")
            }
            Text {
                textFormat: Text.PlainText
                width: parent.width
                color: page.Skinned.palette.muted
                font: SkinFonts.system(12)
                text: Design.localized("Choose how much Orvel moves while it stays on screen.")
                wrapMode: Text.Wrap
            }
        }
        // Compact here, always.
        EffectsModePicker {
            objectName: "EffectsModePicker"
            width: parent.width
            compact: true
        }
    }

    AnimationSettingsView {
        objectName: "AnimationSettingsView"
        width: page.width
    }
    VisualizerSettingsView {
        objectName: "VisualizerSettingsView"
        width: page.width
    }
    TopPlayerSettingsView {
        objectName: "TopPlayerSettingsView"
        width: page.width
    }
}
