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

    implicitWidth: 960
    implicitHeight: 750

    DashboardScreen {
        id: screen
        anchors.fill: parent
    }
}
