import QtQuick
import Orvel
import Orvel.Shared

// The guided setup's last page: the desktop widgets and how to add them, or
// a closing note where the desktop has none.
Column {
    id: page

    readonly property bool supported: WidgetSupport.isSupported

    spacing: 24

    OnboardingPageHeader {
        width: page.width
        title: WidgetSupport.setupTitle
        subtitle: WidgetSupport.setupSubtitle
    }
    WidgetPreview {
        objectName: "widgetPreview"
        visible: page.supported
        width: page.width
    }
    WidgetInstructions {
        width: page.width
    }
    Text {
        textFormat: Text.PlainText
        objectName: "widgetNote"
        visible: page.supported
        width: page.width
        color: page.Skinned.palette.muted
        font: SkinFonts.system(11)
        text: Design.localized("Widgets are added from macOS, separately from the top player and sidebar.")
        wrapMode: Text.Wrap
    }
}
