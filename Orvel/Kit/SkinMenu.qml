import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// A menu of SkinMenuItems on the popup ground, in the skin of the item it
// pops up from. Escape and a press outside close it.
//     SkinMenu { id: menu; SkinMenuItem { text: "…" } }   menu.popup(button, 0, button.height)
T.Menu {
    id: menu

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            contentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             contentHeight + topPadding + bottomPadding)
    padding: PopupStyle.menuPadding
    margins: 8
    font: PopupStyle.menuFont(false)
    delegate: SkinMenuItem {}

    contentItem: ListView {
        Skinned.owner: menu.parent
        implicitHeight: contentHeight
        model: menu.contentModel
        interactive: Window.window ? contentHeight + menu.topPadding + menu.bottomPadding > Window.window.height
                                   : false
        clip: true
        currentIndex: menu.currentIndex
    }
    background: PopupGround {
        Skinned.owner: menu.parent
        implicitWidth: 200
        radius: PopupStyle.menuRadius
    }
}
