import QtQuick
import Orvel
import Orvel.Shared

// A still mock of the two desktop widgets side by side in the current skin:
// fixed placeholder content, never what plays or the user's shortcuts. One
// element to assistive technology.
Row {
    id: preview

    readonly property WidgetGuideStyle style: WidgetGuideStyle { palette: preview.Skinned.palette }
    function faded(c, opacity) {
        return Qt.rgba(c.r, c.g, c.b, c.a * opacity);
    }
    readonly property real tileWidth: Math.max(0, (width - spacing) / 2)

    spacing: 16

    Accessible.role: Accessible.Graphic
    Accessible.name: Design.localized("Preview of Now Playing and Shortcuts widgets")

    SkinFill {
        objectName: "nowPlayingTile"
        width: preview.tileWidth
        radius: 16
        padding: 16

        contentItem: Column {
            spacing: 12

            Row {
                spacing: 5
                MarkView {
                    anchors.verticalCenter: parent.verticalCenter
                    size: 11
                }
                Text {
                    textFormat: Text.PlainText
                    anchors.verticalCenter: parent.verticalCenter
                    color: preview.Skinned.palette.muted
                    font: SkinFonts.system(10, "semibold")
                    text: Design.localized("Orvel")
                    Accessible.ignored: true
                }
            }

            Row {
                width: parent.width
                spacing: 13

                KitShape {
                    objectName: "artwork"
                    anchors.verticalCenter: parent.verticalCenter
                    width: 70
                    height: 70
                    radius: preview.style.artworkRadius
                    image: "PreviewArtwork"
                }
                Column {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.max(0, parent.width - 70 - parent.spacing)
                    spacing: 7

                    Text {
                        textFormat: Text.PlainText
                        objectName: "musicTitle"
                        width: parent.width
                        color: preview.Skinned.palette.text
                        font: preview.style.titleFont
                        text: Design.localized("Your music")
                        elide: Text.ElideRight
                        Accessible.ignored: true
                    }
                    Item {
                        width: parent.width
                        height: Math.max(track.height, fill.height)
                        Rectangle {
                            id: track
                            objectName: "track"
                            anchors.verticalCenter: parent.verticalCenter
                            width: parent.width
                            height: preview.style.trackHeight
                            radius: height / 2
                            color: preview.faded(preview.Skinned.palette.text, 0.3)
                        }
                        Rectangle {
                            id: fill
                            objectName: "progressFill"
                            anchors.verticalCenter: parent.verticalCenter
                            width: preview.style.fillSize.width
                            height: preview.style.fillSize.height
                            radius: height / 2
                            color: preview.style.fillColor
                        }
                    }
                    Row {
                        spacing: 12
                        GlyphView {
                            anchors.verticalCenter: parent.verticalCenter
                            width: 11
                            height: 11
                            size: 11
                            glyph: "previous"
                            color: preview.faded(preview.Skinned.palette.text, 0.8)
                        }
                        Rectangle {
                            objectName: "pauseDisc"
                            anchors.verticalCenter: parent.verticalCenter
                            width: 26
                            height: 26
                            radius: 13
                            color: preview.style.fillColor
                            GlyphView {
                                anchors.centerIn: parent
                                width: 11
                                height: 11
                                size: 11
                                glyph: "pause"
                                color: preview.Skinned.palette.onAccent
                            }
                        }
                        GlyphView {
                            anchors.verticalCenter: parent.verticalCenter
                            width: 11
                            height: 11
                            size: 11
                            glyph: "next"
                            color: preview.faded(preview.Skinned.palette.text, 0.8)
                        }
                    }
                }
            }
        }
    }

    SkinFill {
        objectName: "shortcutsTile"
        width: preview.tileWidth
        radius: 16
        padding: 16

        contentItem: Column {
            spacing: 10

            Text {
                textFormat: Text.PlainText
                color: preview.Skinned.palette.text
                font: SkinFonts.system(12, "semibold")
                text: Design.localized("Your shortcuts")
                Accessible.ignored: true
            }
            Grid {
                id: grid
                objectName: "placeholderGrid"
                width: parent.width
                columns: 2
                columnSpacing: 8
                rowSpacing: 8

                Repeater {
                    model: preview.style.placeholders
                    Rectangle {
                        required property string modelData
                        width: Math.max(0, (grid.width - grid.columnSpacing) / 2)
                        height: cell.implicitHeight + 12
                        radius: 7
                        color: preview.Skinned.palette.fill

                        Row {
                            id: cell
                            x: 7
                            y: 6
                            width: parent.width - 14
                            spacing: 7
                            GlyphView {
                                anchors.verticalCenter: parent.verticalCenter
                                width: 12
                                height: 12
                                size: 12
                                glyph: "list"
                                color: preview.Skinned.palette.accent
                            }
                            Text {
                                textFormat: Text.PlainText
                                anchors.verticalCenter: parent.verticalCenter
                                width: Math.max(0, cell.width - 12 - cell.spacing)
                                color: preview.Skinned.palette.text
                                font: SkinFonts.system(10)
                                text: modelData
                                elide: Text.ElideRight
                                maximumLineCount: 1
                                Accessible.ignored: true
                            }
                        }
                    }
                }
            }
        }
    }
}
