import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The sheet that explains the desktop widgets: what they look like and how to
// add one, or that this desktop has none. Dark, on a solid ground, 650 wide.
// "Close" and "Got it" only ask the presenter to dismiss it.
T.Pane {
    id: guide

    signal dismiss()

    readonly property WidgetGuideStyle style: WidgetGuideStyle { palette: guide.Skinned.palette }
    readonly property bool supported: WidgetSupport.isSupported

    width: style.sheetWidth
    implicitWidth: style.sheetWidth
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    padding: style.sheetPadding

    // The standard controls' dark scheme, whatever the desktop's.
    palette.window: Skinned.palette.ground
    palette.windowText: Skinned.palette.text
    palette.base: Skinned.palette.groundDeep
    palette.text: Skinned.palette.text
    palette.button: Skinned.palette.fillStrong
    palette.buttonText: Skinned.palette.text
    palette.highlight: Skinned.palette.accent

    background: SurfaceGround {
        solid: true
    }

    contentItem: Column {
        spacing: 20

        Item {
            width: parent.width
            implicitHeight: Math.max(heading.implicitHeight, close.implicitHeight)

            Column {
                id: heading
                width: parent.width - close.width - 16
                spacing: 8
                TitleText {
                    objectName: "guideTitle"
                    width: parent.width
                    size: 28
                    lines: 2
                    text: WidgetSupport.guideTitle
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "guideSubtitle"
                    width: parent.width
                    color: guide.Skinned.palette.muted
                    font: SkinFonts.system(14)
                    text: WidgetSupport.guideSubtitle
                    wrapMode: Text.Wrap
                }
            }
            GlyphButton {
                id: close
                objectName: "closeButton"
                anchors.right: parent.right
                glyph: "close"
                label: Design.localized("Close")
                size: 30
                onClicked: guide.dismiss()
            }
        }

        WidgetPreview {
            objectName: "widgetPreview"
            visible: guide.supported
            width: parent.width
        }

        WidgetInstructions {
            width: parent.width
        }

        Text {
            textFormat: Text.PlainText
            objectName: "widgetNote"
            visible: guide.supported
            width: parent.width
            color: guide.Skinned.palette.muted
            font: SkinFonts.system(11)
            text: Design.localized("Widgets are added from macOS, separately from the top player and sidebar.")
            wrapMode: Text.Wrap
        }

        Item {
            width: parent.width
            implicitHeight: gotIt.implicitHeight + 2
            PrimaryButton {
                id: gotIt
                objectName: "gotItButton"
                y: 2
                anchors.right: parent.right
                title: Design.localized("Got it")
                onClicked: guide.dismiss()
            }
        }
    }
}
