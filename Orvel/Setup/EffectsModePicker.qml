import QtQuick
import Orvel
import Orvel.Shared

// "Standard" or "Light" effects, side by side. A click assigns its mode to
// the preferences, also when it is the selected one.
Row {
    id: picker

    property bool compact: false

    readonly property SurfaceChoiceStyle style: SurfaceChoiceStyle { compact: picker.compact }
    readonly property real cardWidth: Math.max(0, (width - spacing) / 2)
    readonly property real cardHeight: Math.max(standard.implicitHeight, light.implicitHeight)

    spacing: style.pickerSpacing

    ChoiceCard {
        id: standard
        objectName: "standardCard"
        width: picker.cardWidth
        height: picker.cardHeight
        compact: picker.compact
        title: Design.localized("Standard")
        detail: Design.localized("Glass, glow and live animation.")
        selected: Preferences.effects === "standard"
        onClicked: Preferences.effects = "standard"
    }
    ChoiceCard {
        id: light
        objectName: "lightCard"
        width: picker.cardWidth
        height: picker.cardHeight
        compact: picker.compact
        title: Design.localized("Light")
        detail: Design.localized("Still visuals, minimal CPU. Ideal on battery.")
        selected: Preferences.effects === "light"
        onClicked: Preferences.effects = "light"
    }
}
