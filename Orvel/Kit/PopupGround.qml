import QtQuick
import Orvel
import Orvel.Shared

// What every popup stands on: the skin's panel lifted by its fill, inside
// its hairline. A popup's parts lie in the window's overlay: give the ground
// its owner (Skinned.owner) so it takes the owner's skin.
Rectangle {
    id: ground

    radius: PopupStyle.radius
    color: PopupStyle.ground(ground.Skinned.palette)
    border.width: 1
    border.color: PopupStyle.stroke(ground.Skinned.palette)
    Accessible.ignored: true
}
