import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The invitation in place of an empty shortcut list, a plain button that
// opens the shortcuts page.
T.AbstractButton {
    id: card

    hoverEnabled: true
    padding: 0
    readonly property bool classico: Skinned.skin === "classico"

    onClicked: DashboardLinks.openShortcutsPage()
    Accessible.name: Design.localized("Keep a favorite within reach.")
    implicitWidth: 240
    implicitHeight: content.implicitHeight + 24

    background: Rectangle {
        radius: Radius.medium
        color: card.classico ? card.Skinned.palette.fill : "transparent"
    }
    contentItem: Item {
        Row {
            id: content
            x: card.classico ? 12 : 0
            anchors.verticalCenter: parent.verticalCenter
            spacing: 12
            Image {
                visible: card.classico
                width: 46
                height: 46
                source: Design.image("EmptyShortcuts")
                sourceSize: Qt.size(92, 92)
                fillMode: Image.PreserveAspectFit
                smooth: true
                Accessible.ignored: true
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                spacing: 3
                Text {
                    textFormat: Text.PlainText
                    text: Design.localized("Keep a favorite within reach.")
                    color: card.Skinned.palette.text
                    font: Typography.system(12, 500)
                }
                Text {
                    textFormat: Text.PlainText
                    text: Design.localized("Add a Spotify link")
                    color: card.Skinned.palette.accent
                    font: Typography.system(11, card.classico ? 400 : 600)
                }
            }
        }
    }
}
