import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The visualizer's page: on/off, a live preview, style and colours, intensity,
// speed and glow. Every control writes one field of Preferences.visualizer;
// opening the page writes nothing.
SkinCard {
    id: page

    readonly property var visualizer: Preferences.visualizer
    readonly property VisualizerSettingsModel model: VisualizerSettingsModel {
        settings: page.visualizer
        lightEffects: Preferences.lightEffects
        reduceMotion: page.Skinned.reduceMotion
        aura: page.Skinned.aura
        onScreen: page.Presence.onScreen
    }

    function write(field, value) {
        Preferences.setVisualizerField(field, value);
    }
    function stateText(selected) {
        return Design.localized(selected ? "Selected" : "Not selected");
    }

    padding: 22

    contentItem: Column {
        spacing: 22

        // Header: titles and the on/off switch.
        RowLayout {
            width: parent.width
            Column {
                Layout.fillWidth: true
                spacing: 5
                Text {
                    textFormat: Text.PlainText
                    objectName: "title"
                    color: page.Skinned.palette.text
                    font: SkinFonts.system(17, "semibold")
                    text: Design.localized("Visualizer")
                }
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    color: page.Skinned.palette.muted
                    font: SkinFonts.system(12)
                    text: Design.localized("A little movement, in your style.")
                    wrapMode: Text.Wrap
                }
            }
            SkinToggle {
                objectName: "enabledSwitch"
                label: Design.localized("Show visualizer")
                isOn: page.visualizer.enabled
                onToggled: on => page.write("enabled", on)
            }
        }

        // The live preview over its bar.
        SkinFill {
            objectName: "previewCard"
            width: parent.width
            radius: 16
            padding: 18

            contentItem: Column {
                spacing: 12

                VisualizerDrawing {
                    objectName: "preview"
                    x: 30
                    width: parent.width - 60
                    height: 94
                    settings: page.visualizer
                    playing: page.model.previewDrawnPlaying
                    time: page.model.previewTime
                    reducedMotion: page.model.previewReducedMotion
                    monochrome: false
                    compact: false
                }
                RowLayout {
                    width: parent.width
                    Eyebrow {
                        Layout.fillWidth: true
                        text: Design.localized("Live preview")
                    }
                    PressFeedbackStyle {
                        id: previewButton
                        objectName: "previewButton"
                        text: page.model.previewButtonTitle
                        Accessible.name: text
                        onClicked: page.model.togglePreview()
                        contentItem: Row {
                            spacing: 4
                            SymbolView {
                                anchors.verticalCenter: parent.verticalCenter
                                width: 11
                                height: 11
                                size: 10
                                name: page.model.previewButtonSymbol
                                color: previewButton.lit(page.Skinned.palette.muted)
                            }
                            Text {
                                textFormat: Text.PlainText
                                anchors.verticalCenter: parent.verticalCenter
                                color: previewButton.lit(page.Skinned.palette.muted)
                                font: SkinFonts.system(11)
                                text: previewButton.text
                                Accessible.ignored: true
                            }
                        }
                    }
                }
            }
        }

        // Style chips, two rows of two.
        GridLayout {
            objectName: "styleGrid"
            width: parent.width
            columns: 2
            rowSpacing: 10
            columnSpacing: 8

            // A fixed count read by index: a click never rebuilds the chip under the pointer.
            Repeater {
                model: page.model.styleChips.length
                PressFeedbackStyle {
                    id: styleChip
                    objectName: "styleChip"
                    required property int index
                    readonly property var modelData: page.model.styleChips[index]
                    Layout.fillWidth: true
                    Layout.preferredWidth: 10
                    text: modelData.title
                    Accessible.name: modelData.title
                    Accessible.description: page.stateText(modelData.selected)
                    onClicked: page.write("style", modelData.style)

                    contentItem: SkinFill {
                        radius: 12
                        strong: styleChip.modelData.selected
                        brightness: styleChip.brightness
                        leftPadding: 12
                        rightPadding: 12
                        topPadding: 9
                        bottomPadding: 9

                        contentItem: RowLayout {
                            spacing: 12
                            SelectionDot {
                                on: styleChip.modelData.selected
                                size: 5
                            }
                            Text {
                                textFormat: Text.PlainText
                                Layout.fillWidth: true
                                color: styleChip.lit(styleChip.modelData.selected ? page.Skinned.palette.text
                                                                                  : page.Skinned.palette.muted)
                                font: SkinFonts.system(12, "medium")
                                text: styleChip.modelData.title
                                elide: Text.ElideRight
                                Accessible.ignored: true
                            }
                            VisualizerDrawing {
                                Layout.preferredWidth: 48
                                Layout.preferredHeight: 22
                                settings: styleChip.modelData.settings
                                playing: true
                                time: 0
                                reducedMotion: true
                                monochrome: false
                                compact: true
                            }
                        }
                    }
                }
            }
        }

        // Colours: seven palette chips, and the picker for the custom colour.
        Column {
            width: parent.width
            spacing: 12

            Text {
                textFormat: Text.PlainText
                color: page.Skinned.palette.text
                font: SkinFonts.system(12, "medium")
                text: Design.localized("Colors")
            }
            RowLayout {
                objectName: "paletteRow"
                width: parent.width
                spacing: 9

                Repeater {
                    model: page.model.paletteChips.length
                    PressFeedbackStyle {
                        id: paletteChip
                        objectName: "paletteChip"
                        required property int index
                        readonly property var modelData: page.model.paletteChips[index]
                        Layout.fillWidth: true
                        Layout.preferredWidth: 10
                        text: modelData.title
                        Accessible.name: modelData.title
                        Accessible.description: page.stateText(modelData.selected)
                        onClicked: page.write("palette", modelData.palette)

                        contentItem: Column {
                            spacing: 7
                            SelectionDot {
                                anchors.horizontalCenter: parent.horizontalCenter
                                on: paletteChip.modelData.selected
                                size: 5
                            }
                            VisualizerSwatch {
                                width: parent.width
                                height: 10
                                radius: 2
                                colors: paletteChip.modelData.colors
                            }
                            Text {
                                textFormat: Text.PlainText
                                width: parent.width
                                horizontalAlignment: Text.AlignHCenter
                                color: paletteChip.lit(paletteChip.modelData.selected ? page.Skinned.palette.text
                                                                                      : page.Skinned.palette.muted)
                                font: SkinFonts.system(9)
                                text: paletteChip.modelData.title
                                maximumLineCount: 1
                                elide: Text.ElideRight
                                Accessible.ignored: true
                            }
                        }
                    }
                }
            }
            PressFeedbackStyle {
                id: customColorButton
                objectName: "customColor"
                visible: page.model.showsColorPicker
                text: Design.localized("Custom color")
                Accessible.name: text
                onClicked: {
                    colorDialog.selectedColor = page.model.customColor;
                    colorDialog.open();
                }

                contentItem: Row {
                    spacing: 8
                    Text {
                        textFormat: Text.PlainText
                        anchors.verticalCenter: parent.verticalCenter
                        color: customColorButton.lit(page.Skinned.palette.text)
                        font: SkinFonts.system(12)
                        text: customColorButton.text
                        Accessible.ignored: true
                    }
                    Rectangle {
                        anchors.verticalCenter: parent.verticalCenter
                        width: 38
                        height: 20
                        radius: 5
                        color: page.model.customColor
                        border.width: 1
                        border.color: page.Skinned.palette.stroke
                    }
                }
            }
        }

        VisualizerSliderRow {
            objectName: "intensityRow"
            width: parent.width
            title: Design.localized("Intensity")
            value: page.visualizer.intensity
            from: 0.15
            to: 1.0
            valueText: page.model.intensityText
            onMoved: value => page.write("intensity", value)
        }
        VisualizerSliderRow {
            objectName: "speedRow"
            width: parent.width
            title: Design.localized("Speed")
            value: page.visualizer.speed
            from: 0.4
            to: 1.8
            valueText: page.model.speedText
            onMoved: value => page.write("speed", value)
        }

        // Glow, and the reset of the whole style.
        RowLayout {
            width: parent.width
            Row {
                Layout.fillWidth: true
                spacing: 10
                SkinToggle {
                    objectName: "glowSwitch"
                    anchors.verticalCenter: parent.verticalCenter
                    label: Design.localized("Soft glow")
                    isOn: page.visualizer.glow
                    onToggled: on => page.write("glow", on)
                }
                Text {
                    textFormat: Text.PlainText
                    anchors.verticalCenter: parent.verticalCenter
                    color: page.Skinned.palette.text
                    font: SkinFonts.system(12)
                    text: Design.localized("Soft glow")
                }
            }
            PressFeedbackStyle {
                id: resetButton
                objectName: "resetStyle"
                text: Design.localized("Reset style")
                Accessible.name: text
                onClicked: Preferences.resetVisualizer()
                contentItem: Text {
                    textFormat: Text.PlainText
                    color: resetButton.lit(page.Skinned.palette.muted)
                    font: SkinFonts.system(12)
                    text: resetButton.text
                    Accessible.ignored: true
                }
            }
        }

        Text {
            textFormat: Text.PlainText
            width: parent.width
            color: page.Skinned.palette.muted
            font: SkinFonts.system(11)
            text: Design.localized("Animation follows playback, without recording or analyzing audio. Widgets show a still version. Reduce Motion is respected.")
            wrapMode: Text.Wrap
        }

        Row {
            objectName: "lightNote"
            visible: Preferences.lightEffects
            width: parent.width
            spacing: 5
            SymbolView {
                anchors.verticalCenter: parent.verticalCenter
                width: 12
                height: 12
                size: 11
                name: "leaf"
                color: page.Skinned.palette.accent
            }
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                color: page.Skinned.palette.accent
                font: SkinFonts.system(11)
                text: Design.localized("In Light mode the visualizer stays still.")
            }
        }

        Text {
            textFormat: Text.PlainText
            objectName: "errorLine"
            visible: Preferences.appearanceError !== null
            width: parent.width
            color: page.model.warningColor
            font: SkinFonts.system(11)
            text: Preferences.appearanceError ?? ""
            wrapMode: Text.Wrap
        }
    }

    CustomColorDialog {
        id: colorDialog
        objectName: "colorDialog"
        environment: page
        onAccepted: {
            const hex = page.model.customHexFor(selectedColor);
            if (hex !== "")
                page.write("customHex", hex);
        }
    }
}
