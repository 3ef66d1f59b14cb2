import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// Up to six favourite shortcuts: a wing beside the notch (three slots), the
// row under the expanded header (six and a caption) or the peek strip (six).
Item {
    id: bar

    // "row", "peek", "wingLeading" or "wingTrailing".
    property string style: "row"
    property real slotSize: 28
    // The coordinator's start marks, unless a preview pins them.
    property var castingID: PlaybackCoordinator.casting
    property var lastCastID: PlaybackCoordinator.lastCast
    property var failedCastID: PlaybackCoordinator.failedCast
    // A preview's cooldown for the starting slot.
    property real previewSweep: -1
    readonly property bool isRow: style === "row"
    readonly property SkillBarModel model: SkillBarModel {
        player: PlaybackCoordinator
        preferences: Preferences
        style: bar.style
    }

    implicitWidth: content.implicitWidth + 2 * content.padding
    implicitHeight: slotSize + 2 * content.padding
    Accessible.role: Accessible.Grouping
    Accessible.name: Design.localized("Skills")

    Rectangle {
        anchors.fill: parent
        visible: bar.isRow && bar.Skinned.skin === "classico"
        color: bar.Skinned.palette.fill
        opacity: 0.5
    }
    SectionRule {
        visible: bar.isRow && bar.Skinned.skin !== "classico"
        x: 24
        width: bar.width - 48
        anchors.top: parent.top
    }

    // A slot disabled while another shortcut starts gets no hover of its
    // own, yet the caption still names the slot under the pointer: the bar
    // follows the pointer itself.
    HoverHandler {
        id: pointer
        onPointChanged: bar.followPointer()
        onHoveredChanged: bar.followPointer()
    }
    property int pointerSlot: -1
    function followPointer() {
        let found = -1
        if (pointer.hovered) {
            for (let i = 0; i < slots.count; ++i) {
                const slot = slots.itemAt(i)
                if (slot && slot.contains(slot.mapFromItem(bar, pointer.point.position)))
                    found = slot.index
            }
        }
        if (found === pointerSlot)
            return
        if (pointerSlot >= 0)
            model.leave(pointerSlot)
        pointerSlot = found
        if (found >= 0)
            model.enter(found)
    }

    RowLayout {
        id: content
        readonly property real padding: bar.isRow ? 24 : 10
        x: padding
        width: bar.isRow ? bar.width - 2 * padding : implicitWidth
        anchors.horizontalCenter: bar.isRow ? undefined : parent.horizontalCenter
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        Repeater {
            id: slots
            model: bar.model.cells
            SkillSlotView {
                required property var modelData
                index: modelData.index
                shortcut: modelData.shortcutID !== "" ? modelData : null
                size: bar.slotSize
                castingID: bar.castingID
                lastCastID: bar.lastCastID
                failedCastID: bar.failedCastID
                Component.onCompleted: if (bar.previewSweep >= 0) sweep = bar.previewSweep
            }
        }
        Item {
            visible: bar.isRow
            Layout.preferredWidth: 12
        }
        Text {
            textFormat: Text.PlainText
            visible: bar.isRow
            text: bar.model.caption
            color: bar.Skinned.palette.muted
            font: Typography.system(12, 600)
            elide: Text.ElideRight
            maximumLineCount: 1
            horizontalAlignment: Text.AlignRight
            Layout.fillWidth: true
            Accessible.ignored: true
        }
    }
}
