import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// One sidebar row: the section's title, full brightness when selected.
PressFeedbackStyle {
    id: row

    required property string section
    readonly property bool selected: DashboardState.section === section
    readonly property string title: DashboardState.titleOf(section)
    readonly property DashboardMetrics metrics: DashboardMetrics {}

    width: parent ? parent.width : implicitWidth
    topPadding: metrics.rowPadding
    bottomPadding: metrics.rowPadding
    text: title
    focusPolicy: Qt.StrongFocus
    Accessible.name: title
    readonly property string accessibleValue: selected ? Design.localized("Selected") : ""
    Accessible.description: accessibleValue

    onClicked: DashboardState.section = row.section
    Keys.onReturnPressed: row.clicked()
    Keys.onEnterPressed: row.clicked()

    contentItem: Text {
        textFormat: Text.PlainText
        objectName: "sectionTitle"
        color: row.lit(row.Skinned.palette.text)
        opacity: row.metrics.rowOpacity(row.selected)
        font: Typography.display(row.metrics.rowTextSize)
        text: row.title
        maximumLineCount: 1
        elide: Text.ElideRight
    }

    FocusMark {}
}
