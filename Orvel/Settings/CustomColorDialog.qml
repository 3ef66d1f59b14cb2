import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The custom colour's dialog: a saturation and value field over the chosen
// hue, the hue strip, the colour before and after, and its six digits to
// type. OK (or Return) sets `selectedColor` and emits accepted(); Cancel
// and Escape change nothing.
T.Popup {
    id: dialog

    // The colour the dialog opens with, and after OK the one chosen.
    property color selectedColor: "white"
    // The item whose skin the dialog draws in: it stands in the window's
    // overlay, outside the page that opens it.
    required property Item environment
    readonly property ColorPickerModel picker: ColorPickerModel {}

    signal accepted

    function accept() {
        selectedColor = picker.color;
        close();
        accepted();
    }

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    padding: 0
    implicitWidth: 320
    implicitHeight: implicitContentHeight
    closePolicy: T.Popup.CloseOnEscape
    onAboutToShow: {
        picker.color = selectedColor;
        hexField.text = picker.hex;
    }

    background: null
    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.45)
    }

    contentItem: FocusScope {
        id: content
        Skinned.owner: dialog.environment
        implicitHeight: column.implicitHeight + 2 * column.y
        focus: true

        Keys.onReturnPressed: dialog.accept()
        Keys.onEnterPressed: dialog.accept()

        SurfaceGround {
            anchors.fill: parent
            solid: true
            radius: 18
        }
        Rectangle {
            anchors.fill: parent
            radius: 18
            color: "transparent"
            border.width: 1
            border.color: content.Skinned.palette.stroke
        }

        Column {
            id: column
            x: 22
            y: 22
            width: parent.width - 2 * x
            spacing: 16

            TitleText {
                objectName: "dialogTitle"
                width: parent.width
                size: 17
                text: Design.localized("Custom color")
            }

            // Saturation across, value up; drag or click to pick. The pointer's
            // pictures: the digits below are the way by keyboard and reader.
            SaturationValueField {
                id: field
                objectName: "colorField"
                width: parent.width
                height: 168
                radius: 10
                hue: dialog.picker.hue
                Accessible.ignored: true

                Rectangle {
                    anchors.fill: parent
                    radius: field.radius
                    color: "transparent"
                    border.width: 1
                    border.color: content.Skinned.palette.stroke
                }
                Marker {
                    objectName: "fieldMarker"
                    x: dialog.picker.saturation * field.width - width / 2
                    y: (1 - dialog.picker.value) * field.height - height / 2
                    width: 16
                    height: 16
                }
                MouseArea {
                    anchors.fill: parent
                    preventStealing: true
                    onPressed: mouse => dialog.picker.pickInField(mouse.x, mouse.y, width, height)
                    onPositionChanged: mouse => dialog.picker.pickInField(mouse.x, mouse.y, width, height)
                }
            }

            HueStrip {
                id: strip
                objectName: "hueStrip"
                width: parent.width
                height: 14
                radius: 7
                Accessible.ignored: true

                Marker {
                    objectName: "hueMarker"
                    x: dialog.picker.hue * strip.width - width / 2
                    y: -3
                    width: 10
                    height: strip.height + 6
                    color: dialog.picker.hueColor
                }
                MouseArea {
                    // A little taller than the strip, which is thin to hit.
                    anchors.fill: parent
                    anchors.topMargin: -6
                    anchors.bottomMargin: -6
                    preventStealing: true
                    onPressed: mouse => dialog.picker.pickHue(mouse.x, width)
                    onPositionChanged: mouse => dialog.picker.pickHue(mouse.x, width)
                }
            }

            // The stored colour beside the new one, and the digits of the new one.
            RowLayout {
                width: parent.width
                spacing: 12

                Row {
                    objectName: "preview"
                    spacing: 4
                    Swatch {
                        objectName: "previewBefore"
                        color: dialog.selectedColor
                    }
                    Swatch {
                        objectName: "previewAfter"
                        color: dialog.picker.color
                    }
                }
                Item {
                    Layout.fillWidth: true
                }
                Text {
                    textFormat: Text.PlainText
                    color: content.Skinned.palette.muted
                    font: SkinFonts.system(13)
                    text: "#"
                    Accessible.ignored: true
                }
                T.TextField {
                    id: hexField
                    objectName: "hexField"
                    // While the user types, the digits stay as typed.
                    property bool typing: false
                    Layout.preferredWidth: 96
                    implicitHeight: 30
                    leftPadding: 9
                    rightPadding: 9
                    verticalAlignment: TextInput.AlignVCenter
                    color: content.Skinned.palette.text
                    selectionColor: content.Skinned.palette.accent
                    selectedTextColor: content.Skinned.palette.onAccent
                    font: SkinFonts.system(13)
                    maximumLength: 7
                    selectByMouse: true
                    focus: true
                    Accessible.name: Design.localized("Custom color")
                    onTextEdited: {
                        typing = true;
                        dialog.picker.enterHex(text);
                        typing = false;
                    }
                    onEditingFinished: text = dialog.picker.hex
                    Connections {
                        target: dialog.picker
                        function onChanged() {
                            if (!hexField.typing)
                                hexField.text = dialog.picker.hex;
                        }
                    }
                    background: Rectangle {
                        radius: 7
                        color: content.Skinned.palette.fill
                        border.width: hexField.activeFocus ? 2 : 1
                        border.color: hexField.activeFocus ? content.Skinned.palette.accent
                                                           : content.Skinned.palette.stroke
                    }
                }
            }

            RowLayout {
                width: parent.width
                spacing: 16
                Item {
                    Layout.fillWidth: true
                }
                PressFeedbackStyle {
                    id: cancelButton
                    objectName: "cancel"
                    text: Design.localized("Cancel")
                    Accessible.name: text
                    onClicked: dialog.close()
                    contentItem: Text {
                        textFormat: Text.PlainText
                        color: cancelButton.lit(content.Skinned.palette.muted)
                        font: SkinFonts.system(13)
                        text: cancelButton.text
                        Accessible.ignored: true
                    }
                }
                PrimaryButton {
                    objectName: "ok"
                    title: Design.localized("OK")
                    onClicked: dialog.accept()
                }
            }
        }
    }

    // A ring that reads on any colour: white over a dark edge.
    component Marker: Rectangle {
        radius: Math.min(width, height) / 2
        color: "transparent"
        border.width: 2
        border.color: "white"
        Rectangle {
            anchors.fill: parent
            anchors.margins: -1
            radius: parent.radius + 1
            color: "transparent"
            border.width: 1
            border.color: Qt.rgba(0, 0, 0, 0.55)
        }
    }
    component Swatch: Rectangle {
        width: 38
        height: 30
        radius: 7
        border.width: 1
        border.color: Skinned.palette.stroke
    }
}
