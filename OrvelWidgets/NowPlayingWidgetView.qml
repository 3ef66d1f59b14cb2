import QtQuick
import QtQuick.Layouts
import Orvel.Shared
import Orvel.WidgetKit
import Orvel.Widgets

// "Now playing": the header, then the player (small or medium) or, with
// nothing to play, a prompt to open Orvel. A tap outside the logo and the
// buttons opens the app's player.
Item {
    id: root

    required property var entry

    readonly property color secondary: Widget.secondary
    // How the title and the buttons look while a button's intent is awaited.
    readonly property real pendingOpacity: 0.4

    Widget.url: nowPlaying.playerURL
    Widget.background: WidgetBackdrop {
        skin: nowPlaying.skin
        aura: nowPlaying.aura
        intensity: nowPlaying.backdropIntensity
    }
    Skinned.skin: nowPlaying.skin
    Skinned.aura: nowPlaying.aura

    NowPlayingWidgetModel {
        id: nowPlaying

        entry: root.entry
        family: root.Widget.family
        renderingMode: root.Widget.renderingMode
    }

    component ProgressLine: Item {
        implicitWidth: nowPlaying.progress === "live" ? timer.implicitWidth : still.implicitWidth
        implicitHeight: nowPlaying.progress === "live" ? timer.implicitHeight : still.implicitHeight
        visible: nowPlaying.progress !== "none"

        WidgetTimerText {
            id: timer

            visible: nowPlaying.progress === "live"
            start: nowPlaying.timerStart
            end: nowPlaying.timerEnd
            font: nowPlaying.progressFont
            Widget.accentable: true
            color: Widget.foreground(nowPlaying.progressColor)
        }
        Text {
            textFormat: Text.PlainText
            id: still

            visible: nowPlaying.progress === "still"
            text: nowPlaying.staticTime
            font: nowPlaying.progressFont
            color: nowPlaying.progressColor
        }
    }

    component Transport: WidgetIntentButton {
        id: button

        property string glyph
        property bool primary: false

        Widget.invalidatable: true
        opacity: Widget.pending ? root.pendingOpacity : 1

        Accessible.name: label
        property string label

        TransportFace {
            glyph: button.glyph
            primary: button.primary
            cutout: button.primary && !nowPlaying.fullColor
            fill: button.primary ? nowPlaying.primaryFill : nowPlaying.palette.fillStrong
            glyphColor: button.primary ? nowPlaying.palette.onAccent : "white"
        }
    }

    component Artwork: ArtworkTile {
        image: nowPlaying.artwork
        imageOpacity: nowPlaying.artworkOpacity
        radius: nowPlaying.artworkRadius
        illustrated: nowPlaying.fullColor
        placeholderFill: nowPlaying.fullColor ? nowPlaying.palette.fillStrong : Qt.rgba(1, 1, 1, 0.1)
        Widget.accentable: true
        glyphColor: Widget.foreground("white")
        Accessible.ignored: true
    }

    ColumnLayout {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        height: nowPlaying.layout === "prompt" ? parent.height : implicitHeight
        spacing: 10

        RowLayout {
            objectName: "header"
            Layout.fillWidth: true
            spacing: 4

            WidgetMark {
                size: 18
                foreground: root.secondary
                Accessible.name: "Orvel"
            }
            Item {
                Layout.fillWidth: true
            }
            // A positioner, not the layout: the layout misses a change of
            // its items' visibility after its first arrangement, and the badge
            // then stays where a hidden item lay, over the mark.
            Row {
                spacing: 4

                SymbolView {
                    objectName: "unavailable"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: nowPlaying.status === "unavailable"
                    name: "wifi.slash"
                    size: 10
                    color: root.secondary
                    Accessible.name: Design.localized("Playback unavailable")
                }
                VisualizerBadge {
                    objectName: "badge"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: nowPlaying.status === "badge"
                    identity: nowPlaying.badgeIdentity
                    settings: nowPlaying.visualizer
                    playing: nowPlaying.active
                    time: nowPlaying.position
                    reducedMotion: root.Widget.reduceMotion
                    monochrome: !nowPlaying.fullColor
                    Accessible.name: Design.localized(nowPlaying.active ? "Playing" : "Paused")
                    Accessible.description: nowPlaying.badgeUpdated
                }
                WidgetLink {
                    objectName: "spotifyLogo"
                    anchors.verticalCenter: parent.verticalCenter
                    // Without a link it is the bare image: taps fall through to the widget's URL.
                    enabled: nowPlaying.spotifyLink.toString() !== ""
                    destination: nowPlaying.spotifyLink
                    width: 70
                    height: 21

                    Image {
                        anchors.fill: parent
                        source: Design.image("SpotifyLogo")
                        sourceSize: Qt.size(140, 42)
                        fillMode: Image.PreserveAspectFit
                    }
                }
            }
        }

        // Small player.
        ColumnLayout {
            visible: nowPlaying.layout === "small"
            Layout.fillWidth: true
            spacing: 8

            RowLayout {
                Layout.fillWidth: true

                Artwork {
                    Layout.preferredWidth: 48
                    Layout.preferredHeight: 48
                }
                Item {
                    Layout.fillWidth: true
                }
                Transport {
                    objectName: "toggle"
                    action: "toggle"
                    primary: true
                    glyph: nowPlaying.toggleGlyph
                    label: nowPlaying.toggleLabel
                }
            }
            Text {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                text: nowPlaying.title
                Widget.invalidatable: true
                opacity: Widget.pending ? root.pendingOpacity : 1
                font: nowPlaying.titleFont
                color: "white"
                elide: Text.ElideRight
                maximumLineCount: 1
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 6

                Text {
                    textFormat: Text.PlainText
                    Layout.fillWidth: true
                    text: nowPlaying.artist
                    font: Typography.system(10)
                    color: root.secondary
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }
                ProgressLine {
                    objectName: "progress"
                }
            }
        }

        // Medium player.
        RowLayout {
            visible: nowPlaying.layout === "medium"
            Layout.fillWidth: true
            spacing: 15

            Artwork {
                Layout.preferredWidth: 92
                Layout.preferredHeight: 92
            }
            ColumnLayout {
                Layout.fillWidth: true
                Layout.fillHeight: false
                spacing: 5

                Text {
                    textFormat: Text.PlainText
                    Layout.fillWidth: true
                    text: nowPlaying.title
                    Widget.invalidatable: true
                    opacity: Widget.pending ? root.pendingOpacity : 1
                    font: nowPlaying.titleFont
                    color: "white"
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }
                Text {
                    textFormat: Text.PlainText
                    Layout.fillWidth: true
                    text: nowPlaying.artist
                    font: Typography.system(11)
                    color: root.secondary
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 8

                    ProgressLine {
                        objectName: "progress"
                    }
                    Item {
                        Layout.fillWidth: true
                    }
                }
                RowLayout {
                    Layout.topMargin: 6
                    spacing: 10

                    Transport {
                        objectName: "previous"
                        action: "previous"
                        glyph: "previous"
                        label: Design.localized("Previous track")
                    }
                    Transport {
                        objectName: "toggle"
                        action: "toggle"
                        primary: true
                        glyph: nowPlaying.toggleGlyph
                        label: nowPlaying.toggleLabel
                    }
                    Transport {
                        objectName: "next"
                        action: "next"
                        glyph: "next"
                        label: Design.localized("Next track")
                    }
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "commandError"
                    visible: nowPlaying.showsCommandError
                    text: Design.localized("Open Orvel to check playback.")
                    font: Typography.system(9)
                    color: "#FF9F0A"
                }
            }
        }

        // Prompt.
        Item {
            visible: nowPlaying.layout === "prompt"
            Layout.fillHeight: true
        }
        RowLayout {
            visible: nowPlaying.layout === "prompt"
            Layout.fillWidth: true
            spacing: 12

            Image {
                visible: nowPlaying.fullColor
                Layout.preferredWidth: 48
                Layout.preferredHeight: 48
                source: Design.image("BrandMark")
                sourceSize: Qt.size(96, 96)
                fillMode: Image.PreserveAspectFit
                Accessible.ignored: true
            }
            WidgetMark {
                visible: !nowPlaying.fullColor
                size: 30
                foreground: "white"
                Accessible.ignored: true
            }
            Text {
                textFormat: Text.PlainText
                objectName: "promptMessage"
                Layout.fillWidth: true
                text: nowPlaying.promptMessage
                font: Typography.system(13, Font.Medium)
                color: "white"
                wrapMode: Text.WordWrap
            }
        }
        Item {
            visible: nowPlaying.layout === "prompt"
            Layout.fillHeight: true
        }
        RowLayout {
            visible: nowPlaying.layout === "prompt"
            spacing: 3

            Text {
                textFormat: Text.PlainText
                text: Design.localized("Open Orvel")
                font: Typography.system(11)
                color: nowPlaying.palette.accent
            }
            SymbolView {
                name: "arrow.up.right"
                size: 10
                color: nowPlaying.palette.accent
            }
        }
    }
}
