import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// One line of a SkinMenu or of a SkinComboBox's list: its text drawn as
// given, lifted by the strong fill while highlighted.
T.MenuItem {
    id: item

    // The combo box's current entry.
    property bool emphasized: false

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: PopupStyle.itemHeight
    horizontalPadding: PopupStyle.itemPadding
    verticalPadding: 0
    font: PopupStyle.menuFont(item.emphasized)
    hoverEnabled: true

    contentItem: Text {
        textFormat: Text.PlainText
        text: item.text
        font: item.font
        color: PopupStyle.text(item.Skinned.palette, item.enabled)
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: PopupStyle.itemRadius
        color: item.highlighted ? PopupStyle.highlight(item.Skinned.palette) : "transparent"
    }
}
