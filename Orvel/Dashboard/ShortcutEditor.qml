import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The sheet that adds a shortcut (`shortcut` null, `slot` the skill slot to
// offer) or edits one: name, link, icon and skill slot. Return saves, Escape
// cancels; neither button is ever disabled, an invalid form says so after
// the first Save.
FocusScope {
    id: editor

    property var shortcut: null
    property var slot: null
    signal dismissed

    readonly property ShortcutEditorModel model: ShortcutEditorModel {
        coordinator: PlaybackCoordinator
        preferences: Preferences
        onDismissed: editor.dismissed()
    }

    implicitWidth: 460
    implicitHeight: form.implicitHeight + 2 * 28

    Component.onCompleted: model.populate(editor.shortcut, editor.slot)
    Component.onDestruction: model.cancelLookup()

    Keys.onReturnPressed: model.save()
    Keys.onEnterPressed: model.save()
    Keys.onEscapePressed: model.cancel()

    SurfaceGround {
        anchors.fill: parent
        solid: true
    }

    Column {
        id: form
        x: 28
        y: 28
        width: editor.width - 2 * 28
        spacing: 20

        RowLayout {
            width: form.width
            TitleText {
                objectName: "heading"
                Layout.fillWidth: true
                size: 22
                text: editor.model.heading
            }
            GlyphButton {
                objectName: "close"
                glyph: "close"
                label: Design.localized("Cancel")
                // Escape and the footer's Cancel reach the same end by keyboard.
                focusPolicy: Qt.NoFocus
                onClicked: editor.model.cancel()
            }
        }

        Column {
            width: form.width
            spacing: 8
            FieldLabel {
                text: Design.localized("Name")
            }
            Field {
                id: nameField
                objectName: "nameField"
                width: parent.width
                focus: true
                placeholderText: Design.localized("Something you love listening to")
                text: editor.model.title
                onTextEdited: editor.model.title = text
            }
            Text {
                textFormat: Text.PlainText
                objectName: "lookingUp"
                visible: editor.model.lookingUp
                color: editor.Skinned.palette.muted
                font: SkinFonts.system(11)
                text: Design.localized("Looking up the name…")
            }
        }

        Column {
            width: form.width
            spacing: 8
            FieldLabel {
                text: Design.localized("Spotify link")
            }
            Field {
                objectName: "linkField"
                width: parent.width
                placeholderText: Design.localized("https://open.spotify.com/playlist/…")
                text: editor.model.link
                onTextEdited: editor.model.link = text
            }
            Text {
                textFormat: Text.PlainText
                width: parent.width
                color: editor.Skinned.palette.muted
                font: SkinFonts.system(11)
                text: Design.localized("Track, album, playlist or artist links. Tracking parameters are removed.")
                wrapMode: Text.Wrap
            }
        }

        Column {
            width: form.width
            spacing: 8
            FieldLabel {
                text: Design.localized("Icon")
            }
            Grid {
                objectName: "glyphGrid"
                columns: 8
                spacing: 6
                Repeater {
                    model: editor.model.glyphChoices
                    PressFeedbackStyle {
                        id: cell
                        required property var modelData
                        readonly property bool chosen: modelData.glyph === editor.model.effectiveGlyph
                        objectName: "glyph-" + modelData.glyph
                        focusPolicy: Qt.StrongFocus
                        text: modelData.name
                        Accessible.name: modelData.name
                        Accessible.description: chosen ? Design.localized("Selected") : Design.localized("Not selected")
                        onClicked: editor.model.glyph = modelData.glyph

                        contentItem: SkinFill {
                            implicitWidth: 30
                            implicitHeight: 30
                            radius: 8
                            strong: cell.chosen
                            brightness: cell.brightness
                            contentItem: Item {
                                SkillGlyphImage {
                                    anchors.centerIn: parent
                                    width: 13 * 1.4
                                    height: 13 * 1.4
                                    glyph: cell.modelData.glyph
                                    size: 13
                                    color: cell.lit(cell.chosen ? cell.Skinned.palette.text : cell.Skinned.palette.muted)
                                }
                            }
                        }
                        HelpTip {
                            anchors.fill: parent
                            text: cell.modelData.name
                            active: cell.hovered
                        }
                        FocusMark {}
                    }
                }
            }
        }

        RowLayout {
            width: form.width
            spacing: 12
            FieldLabel {
                text: Design.localized("Skill slot")
            }
            SlotPicker {
                objectName: "slotPicker"
            }
            Item {
                Layout.fillWidth: true
            }
        }

        Text {
            textFormat: Text.PlainText
            objectName: "validationMessage"
            visible: editor.model.showsMessage
            width: form.width
            color: "#ff9f0a"
            font: SkinFonts.system(11)
            text: Design.localized("Enter a name and a valid Spotify track, album, playlist or artist link.")
            wrapMode: Text.Wrap
        }

        RowLayout {
            width: form.width
            spacing: 14
            Item {
                Layout.fillWidth: true
            }
            T.AbstractButton {
                id: cancelButton
                objectName: "cancel"
                padding: 4
                implicitWidth: implicitContentWidth + leftPadding + rightPadding
                implicitHeight: implicitContentHeight + topPadding + bottomPadding
                hoverEnabled: true
                focusPolicy: Qt.StrongFocus
                text: Design.localized("Cancel")
                contentItem: Text {
                    textFormat: Text.PlainText
                    color: cancelButton.hovered ? editor.Skinned.palette.text : editor.Skinned.palette.muted
                    font: SkinFonts.system(13)
                    text: cancelButton.text
                }
                onClicked: editor.model.cancel()
                FocusMark {}
            }
            PrimaryButton {
                objectName: "save"
                title: Design.localized("Save shortcut")
                focusPolicy: Qt.StrongFocus
                onClicked: editor.model.save()
                FocusMark {}
            }
        }
    }

    component FieldLabel: Text {
        textFormat: Text.PlainText
        color: editor.Skinned.palette.text
        font: SkinFonts.system(12, "medium")
    }

    // A rounded text field in the sheet's colours; its ring marks the focus.
    component Field: T.TextField {
        id: field
        implicitWidth: 200
        implicitHeight: 32
        leftPadding: 10
        rightPadding: 10
        verticalAlignment: TextInput.AlignVCenter
        color: editor.Skinned.palette.text
        placeholderTextColor: editor.Skinned.palette.faint
        selectionColor: editor.Skinned.palette.accent
        selectedTextColor: editor.Skinned.palette.onAccent
        font: SkinFonts.system(13)
        selectByMouse: true
        clip: true

        background: Rectangle {
            radius: 7
            color: editor.Skinned.palette.fill
            border.width: field.activeFocus ? 2 : 1
            border.color: field.activeFocus ? editor.Skinned.palette.accent : editor.Skinned.palette.stroke
        }
        Text {
            textFormat: Text.PlainText
            x: field.leftPadding
            width: field.availableWidth
            height: field.height
            verticalAlignment: Text.AlignVCenter
            visible: field.length === 0 && field.preeditText === ""
            color: field.placeholderTextColor
            font: field.font
            text: field.placeholderText
            elide: Text.ElideRight
            Accessible.ignored: true
        }
    }

    // "No slot", then 1…6: one tab stop, the arrows move the choice. Each
    // segment holds its whole text.
    component SlotPicker: T.Control {
        id: picker
        readonly property var choices: editor.model.slotChoices
        readonly property int current: editor.model.skillSlot === null ? 0 : editor.model.skillSlot + 1
        readonly property var widths: editor.model.segmentWidthsFor(choices.map(c => segmentMetrics.advanceWidth(c.label)))

        function choose(index) {
            if (index >= 0 && index < choices.length)
                editor.model.skillSlot = choices[index].value;
        }

        focusPolicy: Qt.StrongFocus
        implicitWidth: segments.implicitWidth
        implicitHeight: 26
        Accessible.role: Accessible.PageTabList
        Accessible.name: Design.localized("Skill slot")
        Keys.onLeftPressed: choose(current - 1)
        Keys.onRightPressed: choose(current + 1)

        FontMetrics {
            id: segmentMetrics
            font: SkinFonts.system(12)
        }

        background: Rectangle {
            radius: 7
            color: picker.Skinned.palette.fill
            border.width: 1
            border.color: picker.Skinned.palette.stroke
        }
        contentItem: Row {
            id: segments
            Repeater {
                model: picker.choices
                T.AbstractButton {
                    id: segment
                    required property var modelData
                    required property int index
                    readonly property bool chosen: index === picker.current
                    objectName: "segment-" + index
                    width: picker.widths[index] ?? 0
                    height: picker.height
                    focusPolicy: Qt.NoFocus
                    hoverEnabled: true
                    text: modelData.label
                    Accessible.role: Accessible.RadioButton
                    Accessible.name: modelData.label
                    Accessible.checkable: true
                    Accessible.checked: chosen
                    onClicked: picker.choose(index)

                    background: Rectangle {
                        anchors.fill: parent
                        anchors.margins: 2
                        radius: 5
                        visible: segment.chosen
                        color: segment.Skinned.palette.fillStrong
                    }
                    contentItem: Text {
                        textFormat: Text.PlainText
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        color: segment.chosen || segment.hovered ? segment.Skinned.palette.text : segment.Skinned.palette.muted
                        font: segmentMetrics.font
                        text: segment.text
                    }
                }
            }
        }
        FocusMark {}
    }
}
