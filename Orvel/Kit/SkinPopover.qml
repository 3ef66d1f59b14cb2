import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// A small panel that opens beside the item it belongs to, on the popup
// ground and in that item's skin. It takes the keys while open, so Escape
// closes it, as does a press outside.
//     SkinPopover { id: popover; y: tile.height + 8; SomeEditor {} }
T.Popup {
    id: popover

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitContentHeight + topPadding + bottomPadding)
    margins: 8
    padding: 0
    focus: true
    closePolicy: T.Popup.CloseOnEscape | T.Popup.CloseOnPressOutside

    background: PopupGround {
        Skinned.owner: popover.parent
    }
    contentItem: Item {
        Skinned.owner: popover.parent
        implicitWidth: popover.contentChildren.length === 1 ? popover.contentChildren[0].implicitWidth : 0
        implicitHeight: popover.contentChildren.length === 1 ? popover.contentChildren[0].implicitHeight : 0
    }
}
