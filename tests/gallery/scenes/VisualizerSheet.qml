import QtQuick
import Orvel.Shared

// Visualizer drawings in a table: a column per style, a row per palette.
Sheet {
    id: sheet

    required property var styles
    required property var palettes
    property bool compact: false
    property bool playing: true
    property bool monochrome: false
    property real time: 12.5
    // Compact drawings are the indicator's 27 x 20; full ones a strip of the same height.
    readonly property size drawingSize: compact ? Qt.size(27, 20) : Qt.size(180, 38)
    readonly property real cellWidth: Math.max(drawingSize.width, 56) + 12

    Row {
        Item { width: 88; height: 1 }
        Repeater {
            model: sheet.styles
            Label { width: sheet.cellWidth; text: modelData }
        }
    }
    Repeater {
        model: sheet.palettes
        Row {
            id: row
            property string palette: modelData
            Label {
                width: 88
                height: sheet.drawingSize.height
                verticalAlignment: Text.AlignVCenter
                text: sheet.monochrome ? "monochrome" : row.palette
            }
            Repeater {
                model: sheet.styles
                Item {
                    width: sheet.cellWidth
                    height: sheet.drawingSize.height
                    VisualizerDrawing {
                        width: sheet.drawingSize.width
                        height: sheet.drawingSize.height
                        settings: ({"enabled": true, "style": modelData, "palette": row.palette,
                                    "customHex": "7AA2FF", "intensity": 0.7, "speed": 1.0, "glow": true})
                        playing: sheet.playing
                        time: sheet.time
                        monochrome: sheet.monochrome
                        compact: sheet.compact
                    }
                }
            }
        }
    }
}
