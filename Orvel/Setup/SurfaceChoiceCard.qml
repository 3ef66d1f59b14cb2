import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// A large card that switches one floating surface on or off: its picture,
// the state and a caption. It keeps no switch of its own: it shows `isOn`
// and a click asks for the opposite with toggled(); the owner stores it.
//     SurfaceChoiceCard { kind: "notch"; isOn: Preferences.notchEnabled; onToggled: on => Preferences.notchEnabled = on }
PressFeedbackStyle {
    id: card

    property string kind: "notch"
    property bool isOn: false
    property bool compact: false

    signal toggled(bool on)

    readonly property SurfaceChoiceStyle style: SurfaceChoiceStyle {
        kind: card.kind
        compact: card.compact
        isOn: card.isOn
    }
    readonly property string accessibleValue: style.accessibleValue
    readonly property string accessibleHint: style.accessibleHint

    implicitWidth: 280
    text: style.title
    Accessible.role: Accessible.Button
    Accessible.name: style.title
    // The state is the button's checked state; the description is the hint
    // alone. The button resets the checked state to its own (never checked)
    // when accessibility starts: follow isOn again.
    Accessible.checkable: true
    Accessible.checked: isOn
    Accessible.onCheckedChanged: if (Accessible.checked !== isOn) Accessible.checked = Qt.binding(() => card.isOn)
    Accessible.onCheckableChanged: if (!Accessible.checkable) Accessible.checkable = true
    Accessible.description: accessibleHint

    onClicked: card.toggled(!card.isOn)

    contentItem: SkinFill {
        radius: Radius.medium
        strong: card.isOn
        brightness: card.brightness
        padding: card.style.padding

        contentItem: Column {
            spacing: card.style.spacing

            SurfaceIllustration {
                objectName: "illustration"
                width: parent.width
                height: card.style.illustrationHeight
                kind: card.kind
                isOn: card.isOn
                brightness: card.brightness
                Accessible.ignored: true
            }

            RowLayout {
                width: parent.width
                spacing: 8

                SelectionDot {
                    Layout.alignment: Qt.AlignVCenter
                    on: card.isOn
                    brightness: card.brightness
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "cardTitle"
                    Layout.alignment: Qt.AlignVCenter
                    Layout.fillWidth: true
                    color: card.lit(card.Skinned.palette.text)
                    font: card.style.titleFont
                    text: card.style.title
                    elide: Text.ElideRight
                    Accessible.ignored: true
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "stateWord"
                    Layout.alignment: Qt.AlignVCenter
                    color: card.lit(card.Skinned.palette.muted)
                    font: card.style.stateFont
                    text: card.style.stateText
                    Accessible.ignored: true
                }
            }

            Text {
                textFormat: Text.PlainText
                objectName: "caption"
                width: parent.width
                height: Math.max(implicitHeight, card.style.captionMinimumHeight)
                verticalAlignment: Text.AlignTop
                color: card.lit(card.Skinned.palette.muted)
                font: card.style.captionFont
                text: card.style.caption
                wrapMode: Text.Wrap
                Accessible.ignored: true
            }
        }
    }
}
