import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The guided setup in the dashboard window: the brand and the step
// indicator, the page of the current step, and the footer that moves between
// steps and connects Spotify. Each guide starts afresh at its first step.
Item {
    id: view

    readonly property OnboardingFlow flow: OnboardingFlow {
        preferences: Preferences
        player: PlaybackCoordinator
        motionAllowed: view.Skinned.environment.allows("panels")
    }
    readonly property alias flickable: flick

    implicitWidth: 960
    implicitHeight: 750

    SurfaceGround {
        anchors.fill: parent
    }

    // Return presses the primary button only where it is the default action.
    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: view.visible && view.flow.returnActivates
        onActivated: view.flow.primary()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Item {
            objectName: "header"
            Layout.fillWidth: true
            implicitHeight: 42 + headerRow.implicitHeight + 18

            RowLayout {
                id: headerRow
                x: 42
                y: 42
                width: parent.width - 84

                Row {
                    Layout.alignment: Qt.AlignVCenter
                    spacing: 9
                    MarkView {
                        anchors.verticalCenter: parent.verticalCenter
                        size: 28
                    }
                    TitleText {
                        anchors.verticalCenter: parent.verticalCenter
                        size: 21
                        // The brand, never translated.
                        text: "Orvel"
                    }
                }
                Item {
                    Layout.fillWidth: true
                }
                Row {
                    objectName: "stepIndicator"
                    Layout.alignment: Qt.AlignVCenter
                    spacing: 18
                    Accessible.role: Accessible.StaticText
                    Accessible.name: view.flow.indicatorLabel

                    Repeater {
                        model: view.flow.stepTitles
                        Row {
                            required property int index
                            required property string modelData
                            spacing: 7
                            SelectionDot {
                                anchors.verticalCenter: parent.verticalCenter
                                on: view.flow.step >= index
                            }
                            Text {
                                textFormat: Text.PlainText
                                anchors.verticalCenter: parent.verticalCenter
                                color: index === view.flow.step ? view.Skinned.palette.text : view.Skinned.palette.muted
                                font: SkinFonts.system(12, "medium")
                                text: modelData
                                Accessible.ignored: true
                            }
                        }
                    }
                }
            }
        }

        SectionRule {
            Layout.fillWidth: true
        }

        Flickable {
            id: flick
            objectName: "pageArea"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            contentWidth: width
            contentHeight: page.y + page.height + 30
            boundsBehavior: Flickable.StopAtBounds
            interactive: contentHeight > height

            Loader {
                id: page
                objectName: "page"
                readonly property real columnWidth: Math.max(0, Math.min(780, flick.width - 84))
                x: (flick.width - columnWidth - 84) / 2 + 42
                y: 30
                width: columnWidth
                sourceComponent: view.flow.step === 0 ? surfaces : view.flow.step === 1 ? spotify : widgets

                NumberAnimation on opacity {
                    id: fadeIn
                    running: false
                    from: 0
                    to: 1
                    duration: view.flow.stepAnimation.duration
                    easing: view.flow.stepAnimation.easing
                }
            }

            Connections {
                target: view.flow
                // A new page, at its top.
                function onStepChanged() {
                    flick.contentY = 0;
                    if (view.flow.stepAnimation.enabled)
                        fadeIn.restart();
                    else
                        page.opacity = 1;
                }
            }
        }

        Item {
            objectName: "footer"
            Layout.fillWidth: true
            implicitHeight: 22 + footerRow.implicitHeight + 22

            SectionRule {
                anchors.top: parent.top
            }

            RowLayout {
                id: footerRow
                x: 42
                y: 22
                width: parent.width - 84
                spacing: 20

                Text {
                    textFormat: Text.PlainText
                    objectName: "footerHint"
                    visible: view.flow.showsHint
                    Layout.alignment: Qt.AlignVCenter
                    color: view.Skinned.palette.muted
                    font: SkinFonts.system(11)
                    text: Design.localized("You can change these choices anytime.")
                }
                FooterLink {
                    objectName: "backButton"
                    visible: view.flow.showsBack
                    Layout.alignment: Qt.AlignVCenter
                    title: Design.localized("Back")
                    onClicked: view.flow.back()
                }
                Item {
                    Layout.fillWidth: true
                }
                Row {
                    Layout.alignment: Qt.AlignVCenter
                    spacing: 16
                    FooterLink {
                        objectName: "setUpLaterButton"
                        visible: view.flow.showsSetUpLater
                        anchors.verticalCenter: parent.verticalCenter
                        title: Design.localized("Set up later")
                        onClicked: view.flow.setUpLater()
                    }
                    PrimaryButton {
                        objectName: "primaryButton"
                        anchors.verticalCenter: parent.verticalCenter
                        title: view.flow.primaryTitle
                        enabled: view.flow.primaryEnabled
                        onClicked: view.flow.primary()
                    }
                }
            }
        }
    }

    Component {
        id: surfaces
        OnboardingSurfacesPage {
            flow: view.flow
        }
    }
    Component {
        id: spotify
        OnboardingSpotifyPage {
            flow: view.flow
        }
    }
    Component {
        id: widgets
        OnboardingWidgetsPage {}
    }

    // A plain text button of the footer.
    component FooterLink: T.AbstractButton {
        id: link
        property string title
        text: title
        hoverEnabled: true
        padding: 0
        implicitWidth: implicitContentWidth
        implicitHeight: implicitContentHeight
        contentItem: Text {
            textFormat: Text.PlainText
            color: link.Skinned.palette.muted
            font: SkinFonts.system(12)
            text: link.title
        }
    }
}
