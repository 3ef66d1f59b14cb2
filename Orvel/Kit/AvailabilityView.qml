import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// What a surface shows instead of the player while nothing can play: why, in
// one sentence, and the one action that moves the user on. It follows the
// coordinator's availability; its actions start the coordinator's work and
// leave it running. Give it a width and the message wraps to fit, never cut.
Item {
    id: root

    // No brand mark, leading alignment and smaller type for narrow places.
    required property bool compact
    readonly property AvailabilityNotice notice: AvailabilityNotice {
        availability: PlaybackCoordinator.availability
        compact: root.compact
    }

    function perform(operation) {
        if (operation === "connect")
            PlaybackCoordinator.connect()
        else if (operation === "openAutomationSettings")
            PlaybackCoordinator.openAutomationSettings()
        else
            PlaybackCoordinator.openSpotify(true)
    }

    implicitWidth: Math.max(notice.showsMark ? notice.markSize : 0, Math.ceil(naturalMessage.advanceWidth),
                            actions.implicitWidth)
    implicitHeight: column.implicitHeight

    TextMetrics {
        id: naturalMessage
        font: root.notice.messageFont
        text: root.notice.message
    }

    Column {
        id: column
        width: root.width
        spacing: root.notice.spacing

        Item {
            visible: root.notice.showsMark
            x: (column.width - width) / 2
            width: root.notice.markSize
            height: root.notice.markSize + root.notice.markBottomPadding

            MarkView {
                objectName: "mark"
                size: root.notice.markSize
                variant: "full"
            }
        }

        Text {
            textFormat: Text.PlainText
            objectName: "message"
            width: column.width
            text: root.notice.message
            font: root.notice.messageFont
            color: Skinned.palette.text
            wrapMode: Text.Wrap
            horizontalAlignment: root.notice.centred ? Text.AlignHCenter : Text.AlignLeft
        }

        Column {
            id: actions
            width: column.width
            spacing: root.notice.spacing

            Repeater {
                model: root.notice.actions

                delegate: Loader {
                    id: slot

                    required property var modelData

                    x: root.notice.centred ? (actions.width - width) / 2 : 0
                    sourceComponent: modelData.style === "primary" ? primaryAction
                                   : modelData.style === "bordered" ? borderedAction : plainAction

                    Component {
                        id: primaryAction
                        PrimaryButton {
                            title: slot.modelData.title
                            onClicked: root.perform(slot.modelData.operation)
                        }
                    }

                    // A push button tinted with the accent.
                    Component {
                        id: borderedAction
                        T.Button {
                            id: bordered
                            text: slot.modelData.title
                            implicitWidth: implicitContentWidth + leftPadding + rightPadding
                            implicitHeight: implicitContentHeight + topPadding + bottomPadding
                            horizontalPadding: 12
                            verticalPadding: 5
                            hoverEnabled: true
                            contentItem: Text {
                                textFormat: Text.PlainText
                                text: bordered.text
                                font: Typography.role("body")
                                color: Skinned.palette.accent
                                horizontalAlignment: Text.AlignHCenter
                            }
                            Accessible.name: text
                            background: Rectangle {
                                radius: 6
                                color: Qt.rgba(Skinned.palette.accent.r, Skinned.palette.accent.g,
                                               Skinned.palette.accent.b,
                                               bordered.down ? 0.26 : bordered.hovered ? 0.2 : 0.14)
                                border.width: 1
                                border.color: Qt.rgba(Skinned.palette.accent.r, Skinned.palette.accent.g,
                                                      Skinned.palette.accent.b, 0.45)
                            }
                            onClicked: root.perform(slot.modelData.operation)
                        }
                    }

                    // A plain text button in the muted colour.
                    Component {
                        id: plainAction
                        T.AbstractButton {
                            id: plain
                            text: slot.modelData.title
                            implicitWidth: implicitContentWidth
                            implicitHeight: implicitContentHeight
                            opacity: down ? 0.7 : 1
                            contentItem: Text {
                                textFormat: Text.PlainText
                                text: plain.text
                                font: Typography.role("body")
                                color: Skinned.palette.muted
                            }
                            Accessible.name: text
                            onClicked: root.perform(slot.modelData.operation)
                        }
                    }
                }
            }
        }
    }
}
