import QtQuick
import QtQuick.Layouts
import Orvel.Shared
import Orvel.WidgetKit
import Orvel.Widgets

// "Your shortcuts": the header, then the first shortcuts as tiles that open
// them in Spotify, or an invitation to add one. Every other tap opens the
// app's shortcuts.
Item {
    id: root

    required property var entry

    Widget.url: shortcuts.shortcutsURL
    Widget.background: WidgetBackdrop {
        skin: shortcuts.skin
        aura: Design.brandAura
        intensity: 0.08
    }

    ShortcutsWidgetModel {
        id: shortcuts

        entry: root.entry
        family: root.Widget.family
        renderingMode: root.Widget.renderingMode
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 14

        RowLayout {
            objectName: "header"
            Layout.fillWidth: true
            spacing: 6

            WidgetMark {
                size: 13
                foreground: "white"
                Accessible.name: "Orvel"
            }
            Text {
                textFormat: Text.PlainText
                text: Design.localized("Your shortcuts")
                font: shortcuts.titleFont
                color: "white"
            }
            Item {
                Layout.fillWidth: true
            }
            WidgetLink {
                objectName: "add"
                destination: shortcuts.shortcutsURL
                Accessible.name: Design.localized("Add shortcut")

                GlyphView {
                    glyph: "add"
                    size: 14
                    color: "white"
                }
            }
        }

        Item {
            visible: shortcuts.empty
            Layout.fillHeight: true
        }
        RowLayout {
            objectName: "emptyState"
            visible: shortcuts.empty
            Layout.fillWidth: true
            spacing: 14

            Image {
                objectName: "emptyImage"
                visible: shortcuts.showsEmptyImage
                Layout.preferredWidth: 56
                Layout.preferredHeight: 56
                source: Design.image("EmptyShortcuts")
                sourceSize: Qt.size(112, 112)
                fillMode: Image.PreserveAspectFit
                Accessible.ignored: true
            }
            ColumnLayout {
                Layout.fillWidth: true
                Layout.fillHeight: false
                spacing: 6

                Text {
                    textFormat: Text.PlainText
                    Layout.fillWidth: true
                    text: Design.localized("Keep a favorite within reach.")
                    font: Typography.system(13)
                    color: root.Widget.secondary
                    wrapMode: Text.WordWrap
                }
                WidgetLink {
                    destination: shortcuts.shortcutsURL

                    Text {
                        textFormat: Text.PlainText
                        text: Design.localized("Add a Spotify link")
                        font: Typography.system(12)
                        color: shortcuts.accent
                    }
                }
            }
        }
        Item {
            visible: shortcuts.empty
            Layout.fillHeight: true
        }

        Grid {
            id: grid

            objectName: "grid"
            visible: !shortcuts.empty
            Layout.fillWidth: true
            columns: 2
            columnSpacing: 8
            rowSpacing: shortcuts.rowSpacing

            Repeater {
                model: shortcuts.tiles

                WidgetLink {
                    objectName: "tile"
                    required property var modelData

                    width: (grid.width - grid.columnSpacing) / 2
                    height: 34
                    destination: modelData.link
                    Accessible.name: modelData.title

                    Rectangle {
                        anchors.fill: parent
                        radius: 9
                        color: shortcuts.tileFill
                    }
                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: 9
                        anchors.rightMargin: 9
                        spacing: 8

                        SkillGlyphImage {
                            glyph: modelData.glyph
                            size: 11
                            color: shortcuts.glyphColor
                        }
                        Text {
                            textFormat: Text.PlainText
                            Layout.fillWidth: true
                            text: modelData.title
                            font: Typography.system(11, Font.Medium)
                            color: "white"
                            wrapMode: Text.Wrap
                            maximumLineCount: 2
                            elide: Text.ElideRight
                        }
                    }
                }
            }
        }
        Item {
            visible: !shortcuts.empty
            Layout.fillHeight: true
        }
    }
}
