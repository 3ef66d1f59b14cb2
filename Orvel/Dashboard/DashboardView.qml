import QtQuick
import Orvel
import Orvel.Shared

// The dashboard window's content, in the skin, aura, effects and motion of
// the app's preferences and player.
Item {
    id: view

    Skinned.skin: Preferences.skin
    Skinned.aura: PlaybackCoordinator.aura
    Skinned.lightEffects: Preferences.lightEffects
    Skinned.animations: Preferences.animations

    readonly property alias screen: screen

    // Qt Quick Controls inside (switches, bordered buttons, text fields) draw
    // from the skin's dark palette instead of the desktop's.
    palette.window: Skinned.palette.ground
    palette.windowText: Skinned.palette.text
    palette.base: Skinned.palette.groundDeep
    palette.alternateBase: Skinned.palette.panel
    palette.text: Skinned.palette.text
    palette.placeholderText: Skinned.palette.faint
    palette.button: Skinned.palette.fillStrong
    palette.buttonText: Skinned.palette.text
    palette.brightText: Skinned.palette.text
    palette.highlight: Skinned.palette.accent
    palette.highlightedText: Skinned.palette.onAccent
    palette.toolTipBase: Skinned.palette.panel
    palette.toolTipText: Skinned.palette.text
    palette.mid: Skinned.palette.stroke
    palette.dark: Skinned.palette.groundDeep
    palette.light: Skinned.palette.fillStrong

    implicitWidth: 960
    implicitHeight: 750

    DashboardScreen {
        id: screen
        anchors.fill: parent
    }
}
