import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// Where the top player and the sidebar appear: every display, the primary
// one, or one chosen display, picked by scope, on the map or from the menu.
SkinCard {
    id: page

    readonly property DisplaySettingsModel model: DisplaySettingsModel {
        preferences: Preferences
        catalog: DisplayCatalog
    }

    padding: 22

    contentItem: Column {
        spacing: 20

        RowLayout {
            width: parent.width
            Column {
                Layout.fillWidth: true
                spacing: 5
                Text {
                    textFormat: Text.PlainText
                    objectName: "title"
                    color: page.Skinned.palette.text
                    font: SkinFonts.system(16, "semibold")
                    text: Design.localized("Where Orvel appears")
                }
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    color: page.Skinned.palette.muted
                    font: SkinFonts.system(12)
                    text: Design.localized("Choose the displays for your top player and sidebar.")
                    wrapMode: Text.Wrap
                }
            }
            PressFeedbackStyle {
                id: identifyButton
                objectName: "identify"
                text: Design.localized("Identify")
                Accessible.name: text
                onClicked: page.model.identify()
                leftPadding: 9
                rightPadding: 9
                topPadding: 3
                bottomPadding: 3
                background: Rectangle {
                    radius: 5
                    color: identifyButton.lit(page.Skinned.palette.fillStrong)
                    border.width: 1
                    border.color: page.Skinned.palette.stroke
                }
                contentItem: Text {
                    textFormat: Text.PlainText
                    color: identifyButton.lit(page.Skinned.palette.text)
                    font: SkinFonts.system(11)
                    text: identifyButton.text
                    Accessible.ignored: true
                }
            }
        }

        // The three scopes side by side on one fill.
        SkinFill {
            objectName: "scopeRow"
            width: parent.width
            radius: 9
            padding: 4

            contentItem: RowLayout {
                spacing: 5
                // A fixed count read by index: a click never rebuilds the button under the pointer.
                Repeater {
                    model: page.model.scopeChoices.length
                    PressFeedbackStyle {
                        id: scopeButton
                        objectName: "scopeButton"
                        required property int index
                        readonly property var modelData: page.model.scopeChoices[index]
                        Layout.fillWidth: true
                        Layout.preferredWidth: 10
                        text: modelData.title
                        Accessible.name: modelData.title
                        Accessible.description: Design.localized(modelData.selected ? "Selected" : "Not selected")
                        onClicked: page.model.choose(modelData.scope)
                        topPadding: 9
                        bottomPadding: 9
                        background: Rectangle {
                            radius: 6
                            color: scopeButton.modelData.selected ? scopeButton.lit(page.Skinned.palette.fillStrong)
                                                                  : "transparent"
                        }
                        contentItem: Item {
                            implicitWidth: label.implicitWidth
                            implicitHeight: label.implicitHeight
                            Row {
                                id: label
                                anchors.centerIn: parent
                                spacing: 7
                                SelectionDot {
                                    anchors.verticalCenter: parent.verticalCenter
                                    on: scopeButton.modelData.selected
                                    size: 5
                                }
                                Text {
                                    textFormat: Text.PlainText
                                    anchors.verticalCenter: parent.verticalCenter
                                    color: scopeButton.lit(scopeButton.modelData.selected ? page.Skinned.palette.text
                                                                                          : page.Skinned.palette.muted)
                                    font: SkinFonts.system(11, "medium")
                                    text: scopeButton.modelData.title
                                    Accessible.ignored: true
                                }
                            }
                        }
                    }
                }
            }
        }

        DisplayMap {
            objectName: "map"
            width: parent.width
            height: 126
            displays: page.model.displays
            activeIDs: page.model.activeIDs
            onSelect: display => page.model.selectDisplay(display.id)
        }

        RowLayout {
            objectName: "displayMenu"
            visible: page.model.showsMenu
            width: parent.width
            spacing: 10
            Text {
                textFormat: Text.PlainText
                color: page.Skinned.palette.text
                font: SkinFonts.system(12)
                text: Design.localized("Selected display")
            }
            SkinComboBox {
                id: picker
                objectName: "menu"
                Layout.fillWidth: true
                font: SkinFonts.system(12)
                model: page.model.menuEntries
                textRole: "title"
                currentIndex: page.model.menuIndex
                Accessible.name: Design.localized("Selected display")
                onActivated: index => {
                    page.model.pickMenuEntry(index);
                    currentIndex = Qt.binding(() => page.model.menuIndex);
                }
            }
        }

        Row {
            objectName: "note"
            width: parent.width
            spacing: 8
            readonly property color tint: page.model.selectedDisplayMissing ? page.model.warningColor
                                                                            : page.Skinned.palette.muted
            SymbolView {
                id: noteSymbol
                width: 13
                height: 13
                size: 12
                name: page.model.noteSymbol
                color: parent.tint
            }
            Text {
                textFormat: Text.PlainText
                objectName: "noteText"
                width: parent.width - noteSymbol.width - parent.spacing
                color: parent.tint
                font: SkinFonts.system(11)
                text: page.model.noteText
                wrapMode: Text.Wrap
            }
        }
    }
}
