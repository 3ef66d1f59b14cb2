import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The "Animations" page: the presets, a switch per feature, and a progress
// bar to try the swell on. Every switch writes the settings at once; in light
// mode the rows are dimmed but still switch.
SkinCard {
    id: page

    readonly property AnimationSettingsModel model: AnimationSettingsModel {
        preferences: Preferences
        environment: page.Skinned.environment
    }

    radius: 20
    padding: 22

    contentItem: Column {
        id: content
        spacing: 22

        Column {
            width: content.width
            spacing: 5
            Text {
                textFormat: Text.PlainText
                color: page.Skinned.palette.text
                font: SkinFonts.system(17, "semibold")
                text: Design.localized("Animations")
            }
            Text {
                textFormat: Text.PlainText
                width: parent.width
                color: page.Skinned.palette.muted
                font: SkinFonts.system(12)
                wrapMode: Text.Wrap
                text: Design.localized("Choose which movements Orvel plays.")
            }
        }

        AnimationPresetPicker {
            width: content.width
            compact: true
        }

        Column {
            objectName: "featureRows"
            width: content.width
            spacing: 0

            // Six fixed rows whose values change, so a switch is never
            // rebuilt under the pointer and keeps its own animation.
            Repeater {
                model: page.model.rows.length
                Column {
                    id: featureRow
                    required property int index
                    readonly property var modelData: page.model.rows[index]
                    width: content.width

                    Item {
                        objectName: "featureRow"
                        width: parent.width
                        height: row.implicitHeight + 22
                        opacity: page.model.rowOpacity

                        RowLayout {
                            id: row
                            y: 11
                            width: parent.width
                            spacing: 20

                            Column {
                                Layout.fillWidth: true
                                spacing: 3
                                Text {
                                    textFormat: Text.PlainText
                                    width: parent.width
                                    color: page.Skinned.palette.text
                                    font: SkinFonts.system(13, "semibold")
                                    text: featureRow.modelData.title
                                    wrapMode: Text.Wrap
                                }
                                Text {
                                    textFormat: Text.PlainText
                                    width: parent.width
                                    color: page.Skinned.palette.muted
                                    font: SkinFonts.system(11)
                                    text: featureRow.modelData.caption
                                    wrapMode: Text.Wrap
                                }
                            }
                            SkinToggle {
                                objectName: "featureSwitch"
                                Layout.alignment: Qt.AlignVCenter
                                label: featureRow.modelData.title
                                isOn: featureRow.modelData.enabled
                                onToggled: on => page.model.setFeature(featureRow.modelData.feature, on)
                            }
                        }
                    }
                    SectionRule {
                        visible: featureRow.modelData.rule
                    }
                }
            }
        }

        SkinFill {
            objectName: "demoStrip"
            width: content.width
            radius: 16
            leftPadding: 18
            rightPadding: 18
            topPadding: 16
            bottomPadding: 16

            contentItem: RowLayout {
                spacing: 18

                // Only shows the swell: no pointer, no keys, nothing spoken.
                Item {
                    Layout.fillWidth: true
                    Layout.preferredHeight: demo.implicitHeight
                    enabled: false
                    Accessible.ignored: true
                    OrvelScrubber {
                        id: demo
                        objectName: "demoScrubber"
                        width: parent.width
                        anchors.verticalCenter: parent.verticalCenter
                        model: page.model.scrubber
                        Accessible.ignored: true
                    }
                }
                // A bordered button in the kit's press style.
                PressFeedbackStyle {
                    id: tryIt
                    objectName: "tryIt"
                    enabled: page.model.canTry
                    text: Design.localized("Try it")
                    onClicked: page.model.tryIt()

                    contentItem: SkinFill {
                        radius: 7
                        strong: true
                        brightness: tryIt.brightness
                        leftPadding: 12
                        rightPadding: 12
                        topPadding: 5
                        bottomPadding: 5
                        contentItem: Text {
                            textFormat: Text.PlainText
                            color: tryIt.lit(page.Skinned.palette.text)
                            font: SkinFonts.system(13)
                            text: tryIt.text
                        }
                    }
                }
            }
        }

        Text {
            textFormat: Text.PlainText
            objectName: "reduceMotionNote"
            width: content.width
            visible: page.model.showsReduceMotionNote
            color: page.Skinned.palette.muted
            font: SkinFonts.system(11)
            wrapMode: Text.Wrap
            text: Design.localized("With Reduce Motion, movement becomes a gentle fade.")
        }
    }
}
