import QtQuick
import Orvel
import Orvel.Shared

// A setting's switch; rivista writes "On" or "Off" beside it.
Row {
    id: control

    property string title
    property bool isOn
    signal toggled(bool on)

    readonly property DashboardMetrics metrics: DashboardMetrics { skin: control.Skinned.skin }

    spacing: 10

    Text {
        textFormat: Text.PlainText
        objectName: "switchCaption"
        anchors.verticalCenter: parent.verticalCenter
        visible: control.metrics.switchCaptions
        color: control.Skinned.palette.muted
        font: SkinFonts.system(12)
        text: DashboardTexts.switchState(control.isOn)
    }
    SkinToggle {
        anchors.verticalCenter: parent.verticalCenter
        label: control.title
        isOn: control.isOn
        onToggled: on => control.toggled(on)
    }
}
