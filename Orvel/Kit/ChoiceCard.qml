import QtQuick
import Orvel
import Orvel.Shared

// A selectable card of an option list: the selection dot and title, then the
// detail, which wraps and is never cut. Give it a width (and, in a row, a
// height) to fill; the texts are shown as given.
PressFeedbackStyle {
    id: control

    property string title
    property string detail
    property bool selected: false
    property bool compact: false

    readonly property ChoiceCardStyle style: ChoiceCardStyle {
        compact: control.compact
        selected: control.selected
        title: control.title
        detail: control.detail
    }

    text: title
    Accessible.name: style.accessibleName
    Accessible.description: style.accessibleValue

    contentItem: SkinFill {
        strong: control.selected
        brightness: control.brightness
        padding: control.style.padding

        contentItem: Column {
            spacing: control.style.spacing
            Accessible.ignored: true

            Row {
                spacing: 8
                SelectionDot {
                    anchors.verticalCenter: parent.verticalCenter
                    on: control.selected
                    brightness: control.brightness
                }
                Text {
                    textFormat: Text.PlainText
                    anchors.verticalCenter: parent.verticalCenter
                    color: control.lit(control.Skinned.palette.text)
                    font: control.style.titleFont
                    text: control.title
                    Accessible.ignored: true
                }
            }
            Text {
                textFormat: Text.PlainText
                width: parent.width
                color: control.lit(control.Skinned.palette.muted)
                font: control.style.detailFont
                text: control.detail
                wrapMode: Text.Wrap
                Accessible.ignored: true
            }
        }
    }
}
