import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// A menu button over a list of choices: the face in the skin's strong fill,
// its list on the popup ground with the current entry in semibold. The
// entries are drawn as given, never as markup.
//     SkinComboBox { model: [{ "title": "…" }]; textRole: "title" }
T.ComboBox {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitContentHeight + topPadding + bottomPadding,
                             implicitIndicatorHeight + topPadding + bottomPadding)
    leftPadding: 10
    rightPadding: 10 + indicator.width + spacing
    spacing: 8
    hoverEnabled: true
    font: PopupStyle.menuFont(false)

    delegate: SkinMenuItem {
        required property var modelData
        required property int index
        width: ListView.view ? ListView.view.width : implicitWidth
        text: control.textRole ? modelData[control.textRole] : modelData
        emphasized: index === control.currentIndex
        highlighted: control.highlightedIndex === index
        hoverEnabled: control.hoverEnabled
    }

    indicator: SymbolView {
        x: control.width - width - 10
        y: (control.height - height) / 2
        width: 10
        height: 10
        size: 10
        name: control.popup.visible ? "chevron.up" : "chevron.down"
        color: control.Skinned.palette.muted
    }

    contentItem: Text {
        textFormat: Text.PlainText
        text: control.displayText
        font: control.font
        color: control.Skinned.palette.text
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        implicitWidth: 140
        implicitHeight: 30
        radius: Radius.small
        color: Qt.tint(control.Skinned.palette.panel,
                       control.hovered || control.down ? control.Skinned.palette.fillStrong
                                                      : control.Skinned.palette.fill)
        border.width: 1
        border.color: control.Skinned.palette.stroke
    }

    popup: T.Popup {
        y: control.height + 4
        width: control.width
        implicitHeight: contentItem.implicitHeight + topPadding + bottomPadding
        padding: PopupStyle.menuPadding
        margins: 8

        contentItem: ListView {
            Skinned.owner: control
            clip: true
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
            highlightMoveDuration: 0
        }
        background: PopupGround {
            Skinned.owner: control
            radius: PopupStyle.menuRadius
        }
    }
}
