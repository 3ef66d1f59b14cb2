import QtQuick
import Orvel
import Orvel.Shared

// One cell of the skill bar: a filled slot starts its shortcut, with a
// cooldown sweep while it starts; an empty one leads to the dashboard.
PressFeedbackStyle {
    id: slot

    property int index: 0
    // {shortcutID, title, kind, glyph}; none or an empty id for an empty slot.
    property var shortcut: null
    property real size: 28
    // The cooldown still to run, 1 = full.
    property real sweep: 0
    // The coordinator's start marks, unless a preview pins them.
    property var castingID: PlaybackCoordinator.casting
    property var lastCastID: PlaybackCoordinator.lastCast
    property var failedCastID: PlaybackCoordinator.failedCast

    readonly property SkillSlotStyle style: SkillSlotStyle {
        palette: slot.Skinned.palette
        index: slot.index
        shortcutID: slot.shortcut ? slot.shortcut.shortcutID : ""
        title: slot.shortcut ? slot.shortcut.title : ""
        kind: slot.shortcut ? slot.shortcut.kind : ""
        casting: slot.castingID
        lastCast: slot.lastCastID
        failedCast: slot.failedCastID
        errorKey: PlaybackCoordinator.errorKey
        hovering: slot.shownHovered
        castLevel: slot.Skinned.environment.level("skillCast")
    }
    readonly property ContextMenuModel menu: ContextMenuModel {
        items: slot.style.menu
        onTriggered: action => slot.perform(action)
    }

    function perform(action) {
        if (action === "play" || action === "") {
            if (style.filled)
                PlaybackCoordinator.cast(style.shortcutID)
            else
                DashboardLinks.openSkillSlot(index)
        } else if (action === "open") {
            PlaybackCoordinator.openInSpotify(style.shortcutID)
        } else if (action === "change") {
            DashboardLinks.openSkillSlot(index)
        } else if (action === "remove") {
            Preferences.clearSkill(index)
        }
    }

    // The sweep starts only when this slot's start begins: a slot first
    // shown mid-start shows none.
    readonly property bool casting: style.isCasting
    property bool shown: false
    Component.onCompleted: shown = true
    onCastingChanged: {
        if (!casting || !shown)
            return
        cooldown.stop()
        sweep = 1
        if (Skinned.allows("skillCast"))
            cooldown.start()
    }
    // Out of sight the sweep ends: nobody watches it run.
    readonly property bool onScreen: Presence.onScreen
    onOnScreenChanged: if (!onScreen && cooldown.running) cooldown.complete()
    NumberAnimation {
        id: cooldown
        target: slot
        property: "sweep"
        from: 1
        to: 0
        duration: 800
        easing.type: Easing.Linear
    }

    enabled: style.clickable
    onClicked: perform("")
    Accessible.name: style.accessibleName
    // Value, then hint: QML's Accessible has no separate fields for them.
    Accessible.description: [style.accessibleValue, style.accessibleHint].filter(text => text !== "").join(", ")
    Accessible.role: Accessible.Button
    implicitWidth: size
    implicitHeight: size

    contentItem: Item {
        implicitWidth: slot.size
        implicitHeight: slot.size

        SlotOutline {
            anchors.fill: parent
            visible: slot.style.filled
            circle: slot.style.circle
            radius: slot.style.radius
            fill: slot.style.groundFill
            stroke: slot.style.groundStroke
            strokeWidth: slot.style.groundStrokeWidth
        }
        SkillGlyphImage {
            anchors.centerIn: parent
            visible: slot.style.filled
            glyph: slot.shortcut && slot.shortcut.glyph ? slot.shortcut.glyph : "note"
            size: slot.size * SkillSlotStyle.glyphScale
            color: slot.lit(slot.style.glyphColor)
        }
        CooldownWedge {
            anchors.fill: parent
            visible: slot.style.cover === "wedge"
            remaining: slot.sweep
            circle: slot.style.circle
            radius: slot.style.radius
            color: slot.style.wedgeColor
        }
        SlotOutline {
            anchors.fill: parent
            visible: slot.style.cover === "flat"
            circle: slot.style.circle
            radius: slot.style.radius
            fill: slot.style.flatColor
        }
        Rectangle {
            visible: slot.style.lastDot
            width: 3
            height: 3
            radius: 1.5
            color: slot.Skinned.palette.accent
            anchors.horizontalCenter: parent.horizontalCenter
            y: parent.height - height + 6
        }
        SlotOutline {
            anchors.fill: parent
            visible: slot.style.isFailed
            circle: slot.style.circle
            radius: slot.style.radius
            stroke: slot.style.failedRing
            strokeWidth: 1.5
        }

        // The empty slot: a dashed outline and a plus.
        SlotOutline {
            anchors.fill: parent
            visible: !slot.style.filled
            circle: slot.style.circle
            radius: slot.style.radius
            stroke: slot.style.dashColor
            strokeWidth: 1
            dashed: true
        }
        GlyphView {
            anchors.centerIn: parent
            width: slot.size
            height: slot.size
            visible: !slot.style.filled
            glyph: "add"
            size: slot.size * SkillSlotStyle.addScale
            color: slot.style.addColor
        }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.RightButton
        onClicked: slot.menu.popup()
    }
    HelpTip {
        anchors.fill: parent
        text: slot.style.help
        active: slot.hovered
    }
}
