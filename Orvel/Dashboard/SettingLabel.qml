import QtQuick
import Orvel
import Orvel.Shared

// A setting's title over its muted detail, sized by the skin.
Column {
    id: label

    property string title
    property string detail
    readonly property DashboardMetrics metrics: DashboardMetrics { skin: label.Skinned.skin }

    spacing: 4

    Text {
        textFormat: Text.PlainText
        objectName: "settingTitle"
        width: label.width
        color: label.Skinned.palette.text
        font: SkinFonts.system(label.metrics.settingTitleSize, "semibold")
        text: label.title
        wrapMode: Text.Wrap
    }
    Text {
        textFormat: Text.PlainText
        objectName: "settingDetail"
        width: label.width
        color: label.Skinned.palette.muted
        font: SkinFonts.system(label.metrics.settingDetailSize)
        text: label.detail
        wrapMode: Text.Wrap
    }
}
