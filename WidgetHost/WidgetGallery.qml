import QtQuick
import Orvel.Shared

// The gallery's page: one section per kind of widget, its name and
// description above a preview of each family. The previews are put into the
// slots named "slot" from C++; a click on one asks to add it.
Rectangle {
    id: root

    // [{name, description, items: [{index, width, height}]}]
    required property var kinds
    required property string hint

    signal chosen(int index)

    color: "#1c1c1e"
    implicitWidth: 40 + 364 * 2 + 24
    implicitHeight: Math.min(column.implicitHeight + 40, 900)

    Flickable {
        anchors.fill: parent
        contentHeight: column.implicitHeight + 40
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: column

            x: 20
            y: 20
            width: root.width - 40
            spacing: 24

            Text {
                text: root.hint
                textFormat: Text.PlainText
                color: "#a1a1a6"
                font: Typography.role("body")
                wrapMode: Text.Wrap
                width: parent.width
            }

            Repeater {
                model: root.kinds

                Column {
                    required property var modelData

                    width: column.width
                    spacing: 6

                    Text {
                        text: parent.modelData.name
                        textFormat: Text.PlainText
                        color: "white"
                        font: Typography.role("headline")
                    }
                    Text {
                        text: parent.modelData.description
                        textFormat: Text.PlainText
                        color: "#a1a1a6"
                        font: Typography.role("body")
                        wrapMode: Text.Wrap
                        width: parent.width
                    }
                    Flow {
                        width: parent.width
                        spacing: 24
                        topPadding: 6

                        Repeater {
                            model: parent.parent.modelData.items

                            Item {
                                id: cell

                                required property var modelData
                                readonly property string accessibleName: modelData.label

                                objectName: "cell"
                                width: modelData.width
                                height: modelData.height

                                Item {
                                    objectName: "slot"
                                    property int index: cell.modelData.index
                                    anchors.fill: parent
                                }
                                // Over the preview: the widget's own taps do nothing here.
                                MouseArea {
                                    id: area

                                    anchors.fill: parent
                                    hoverEnabled: true
                                    cursorShape: Qt.PointingHandCursor
                                    Accessible.role: Accessible.Button
                                    Accessible.name: cell.accessibleName
                                    Accessible.onPressAction: root.chosen(cell.modelData.index)
                                    onClicked: root.chosen(cell.modelData.index)
                                }
                                Rectangle {
                                    anchors.fill: parent
                                    anchors.margins: -4
                                    radius: 26
                                    color: "transparent"
                                    border.width: 2
                                    border.color: "#0a84ff"
                                    visible: area.containsMouse
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}
