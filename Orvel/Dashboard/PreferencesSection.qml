import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// Where and when Orvel is there: the displays, the panels, full screen, the
// login item, the widgets, the guided setup and the Spotify connection.
Column {
    id: page

    required property Item dashboard
    readonly property DashboardMetrics metrics: DashboardMetrics { skin: page.Skinned.skin }

    width: parent ? parent.width : implicitWidth
    spacing: metrics.pageSpacing

    DisplaySettingsView {
        objectName: "DisplaySettingsView"
        width: page.width
    }

    // Classico: a padded card; rivista: a rule, then the ruled rows.
    SkinCard {
        objectName: "preferencesCard"
        width: page.width
        radius: 16
        leftPadding: page.metrics.preferencesCardPadding
        rightPadding: page.metrics.preferencesCardPadding

        contentItem: Column {
            spacing: 0

            SettingRow {
                width: parent.width
                title: Design.localized("Top player")
                detail: Design.localized("Hover at the top to unfold your music.")
                control: SettingSwitch {
                    title: Design.localized("Top player")
                    isOn: Preferences.notchEnabled
                    onToggled: on => Preferences.notchEnabled = on
                }
            }
            SettingRow {
                width: parent.width
                title: Design.localized("Right sidebar")
                detail: Design.localized("Artwork, controls and shortcuts on the right.")
                control: SettingSwitch {
                    title: Design.localized("Right sidebar")
                    isOn: Preferences.sidebarEnabled
                    onToggled: on => Preferences.sidebarEnabled = on
                }
            }
            SettingRow {
                width: parent.width
                title: Design.localized("Show in full screen")
                detail: Design.localized("Keep the player available over full-screen apps.")
                control: SettingSwitch {
                    title: Design.localized("Show in full screen")
                    isOn: Preferences.showInFullScreen
                    onToggled: on => Preferences.showInFullScreen = on
                }
            }
            SettingRow {
                width: parent.width
                title: Design.localized("Open at login")
                detail: Design.localized("Ready when you start your Mac.")
                // Shows what the login item became, never its own flip.
                control: SettingSwitch {
                    objectName: "loginSwitch"
                    title: Design.localized("Open at login")
                    isOn: Preferences.loginEnabled
                    onToggled: on => Preferences.loginEnabled = on
                }
            }
            SettingRow {
                width: parent.width
                title: WidgetSupport.title
                detail: WidgetSupport.subtitle
                control: TextLink {
                    objectName: "widgetGuideLink"
                    title: WidgetSupport.guideButtonTitle
                    focusPolicy: Qt.StrongFocus
                    onClicked: page.dashboard.widgetGuide = true
                    FocusMark {}
                }
            }
            SettingRow {
                width: parent.width
                title: Design.localized("Guided setup")
                detail: Design.localized("Revisit your panels, connection and widgets.")
                control: TextLink {
                    objectName: "startAgain"
                    title: Design.localized("Start again")
                    focusPolicy: Qt.StrongFocus
                    onClicked: Preferences.restartSetup()
                    FocusMark {}
                }
            }
            SettingRow {
                width: parent.width
                // A name: the same in every language.
                title: "Spotify"
                detail: DashboardTexts.connection(PlaybackCoordinator.availability)
                control: Row {
                    spacing: 16
                    T.AbstractButton {
                        id: disconnect
                        objectName: "disconnectSpotify"
                        anchors.verticalCenter: parent.verticalCenter
                        padding: 0
                        hoverEnabled: true
                        focusPolicy: Qt.StrongFocus
                        text: Design.localized("Disconnect Spotify")
                        implicitWidth: implicitContentWidth
                        implicitHeight: implicitContentHeight
                        contentItem: Text {
                            textFormat: Text.PlainText
                            color: page.Skinned.palette.muted
                            font: SkinFonts.system(12)
                            text: disconnect.text
                        }
                        onClicked: PlaybackCoordinator.setDisconnected()
                        FocusMark {}
                    }
                    TextLink {
                        objectName: "connectAgain"
                        anchors.verticalCenter: parent.verticalCenter
                        title: Design.localized("Connect again")
                        focusPolicy: Qt.StrongFocus
                        // Each press starts its own connection task.
                        onClicked: PlaybackCoordinator.connect()
                        FocusMark {}
                    }
                }
            }
        }
    }

    Text {
        textFormat: Text.PlainText
        objectName: "loginError"
        visible: Preferences.loginError !== null
        width: page.width
        color: "#ff9f0a"
        font: SkinFonts.system(11)
        text: Preferences.loginError ?? ""
        wrapMode: Text.Wrap
    }

    Text {
        textFormat: Text.PlainText
        objectName: "preferencesCaption"
        width: page.width
        color: page.Skinned.palette.muted
        font: SkinFonts.system(11)
        text: Design.localized("Hover to open. Move away to close. Use the pin to keep a panel open. Each display remembers its pin until you quit.")
        wrapMode: Text.Wrap
        lineHeightMode: Text.FixedHeight
        lineHeight: captionMetrics.lineSpacing + 4
        FontMetrics {
            id: captionMetrics
            font: SkinFonts.system(11)
        }
    }
}
