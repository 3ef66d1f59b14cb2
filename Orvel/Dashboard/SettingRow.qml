import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// One row of a settings list: the setting's texts taking the room left, its
// control at the trailing edge, 15 above and below, a rule under it.
Item {
    id: row

    property string title
    property string detail
    property Component control

    implicitHeight: content.implicitHeight + 30

    RowLayout {
        id: content
        y: 15
        width: row.width
        spacing: 24
        SettingLabel {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
            title: row.title
            detail: row.detail
        }
        Loader {
            Layout.alignment: Qt.AlignVCenter
            sourceComponent: row.control
        }
    }
    SectionRule {
        anchors.bottom: parent.bottom
    }
}
