import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// A titled slider with its value text; the top player's opacity row uses it
// too. It shows `value` and reports only the user's moves, so a stored value
// outside the range is shown, never rewritten.
RowLayout {
    id: row

    property string title
    property real value
    property real from: 0
    property real to: 1
    property string valueText
    // -1: the title's own width.
    property real titleWidth: 68
    property real valueWidth: 38

    signal moved(real value)

    spacing: 16

    Text {
        textFormat: Text.PlainText
        Layout.preferredWidth: row.titleWidth < 0 ? implicitWidth : row.titleWidth
        color: row.Skinned.palette.text
        font: SkinFonts.system(12)
        text: row.title
        elide: Text.ElideRight
    }
    // A small slider: a thin track filled with the accent up to a round knob.
    T.Slider {
        id: slider
        objectName: "slider"
        Layout.fillWidth: true
        implicitWidth: 160
        implicitHeight: 18
        from: row.from
        to: row.to
        value: row.value
        Accessible.name: row.title
        onMoved: {
            const requested = value;
            // Back to showing the bound value; the page writes it.
            value = Qt.binding(() => row.value);
            row.moved(requested);
        }

        background: Item {
            x: slider.leftPadding
            y: slider.topPadding + slider.availableHeight / 2 - height / 2
            width: slider.availableWidth
            height: 4
            Rectangle {
                anchors.fill: parent
                radius: 2
                color: row.Skinned.palette.fillStrong
            }
            Rectangle {
                width: slider.visualPosition * parent.width
                height: parent.height
                radius: 2
                color: row.Skinned.palette.accent
            }
        }
        handle: Rectangle {
            x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
            y: slider.topPadding + slider.availableHeight / 2 - height / 2
            width: 14
            height: 14
            radius: 7
            color: slider.pressed ? Qt.darker(row.Skinned.palette.text, 1.1) : row.Skinned.palette.text
            border.width: 1
            border.color: row.Skinned.palette.stroke
        }
    }
    Text {
        textFormat: Text.PlainText
        objectName: "valueText"
        Layout.preferredWidth: row.valueWidth
        horizontalAlignment: Text.AlignHCenter
        color: row.Skinned.palette.muted
        font: Typography.mono(11)
        text: row.valueText
    }
}
