import QtQuick
import QtQuick.Layouts
import Orvel
import Orvel.Shared

// The root of every floating panel: for the top player the header strip or
// pill, the expanded body in the skin (or the availability row), the
// announcement under the notch and the peek of the skill keys; for the
// sidebar the skin's sidebar or, folded, its tab. What shows is the surface
// model's decision over the panel model, the coordinator, the preferences
// and the skin environment; the view keeps no state of its own.
Item {
    id: surface

    property PanelModel model: null
    readonly property SurfaceViewModel rules: SurfaceViewModel {
        model: surface.model
        player: PlaybackCoordinator
        preferences: Preferences
        environment: surface.Skinned.environment
        links: DashboardLinks
    }
    readonly property kitAnimation bodySpring: rules.animatesPanels ? KitMotion.spring(0.26) : KitMotion.none()

    Skinned.skin: Preferences.skin
    Skinned.aura: PlaybackCoordinator.aura
    Skinned.lightEffects: Preferences.lightEffects
    Skinned.animations: Preferences.animations

    focus: true
    Keys.onEscapePressed: if (surface.model) surface.model.dismiss()

    // MARK: Pieces private to the surface

    // The header column's ground: black beside a notch, the skin's when
    // opaque, glass under a tint while idle and translucent.
    component CompactGround: Item {
        id: ground

        property bool translucent: false
        property real idleOpacity: 0.3
        property bool notch: false
        property real topRadius: 0
        property real bottomRadius: 0
        property bool animated: false
        readonly property var look: SurfaceRules.compactGround(translucent, idleOpacity, notch, Skinned.skin,
                                                               Skinned.lightEffects, Skinned.reduceTransparency)

        Accessible.ignored: true

        SurfaceGround {
            anchors.fill: parent
            visible: ground.look.base === "surfaceGround"
            topRadius: ground.topRadius
            bottomRadius: ground.bottomRadius
        }
        PanelOutline {
            anchors.fill: parent
            topRadius: ground.topRadius
            bottomRadius: ground.bottomRadius
        }
        OutlineShape {
            anchors.fill: parent
            topRadius: ground.topRadius
            bottomRadius: ground.bottomRadius
            glass: ground.look.base === "glass"
            fill: Qt.alpha(ground.look.tint === "field" ? ground.Skinned.aura.field : "black",
                           ground.look.tintOpacity)
            strokeWidth: 0

            Behavior on fill {
                enabled: ground.animated
                ColorAnimation {
                    duration: KitMotion.easeOut(0.2).duration
                    easing: KitMotion.easeOut(0.2).easing
                }
            }
        }
    }

    // The folded sidebar at the display's edge: a small tab with a grip
    // that brightens while music plays.
    component SidebarTab: Item {
        id: tab

        property bool playing: false

        KitShape {
            id: tabShape
            anchors.fill: parent
            radius: 10
            fill: tab.Skinned.palette.ground
            stroke: tab.Skinned.palette.stroke
            strokeWidth: 1
        }
        PanelOutline {
            anchors.fill: parent
            topRadius: tabShape.radius
            bottomRadius: tabShape.radius
        }
        Rectangle {
            objectName: "grip"
            anchors.centerIn: parent
            width: 3
            height: 28
            radius: 1.5
            color: SurfaceRules.gripColor(tab.Skinned.palette, tab.playing)
            Accessible.ignored: true
        }
    }

    // The expanded body, above or below the header: the skin's player or the
    // availability row, the skill row for that placement, on the skinned
    // panel with its smaller corners towards the header. Comes and goes by
    // scale from the header's edge and fade; its content exists only while
    // it shows, so a folded player carries none of it.
    component ExpandedBody: Item {
        id: body

        property bool above: false
        // This side of the header is the one the player opens to.
        readonly property bool placed: above === surface.rules.opensUpward
        readonly property bool shown: surface.rules.expanded
        property real presence: shown ? 1 : 0

        width: surface.width
        height: shown ? surface.rules.bodyGap + surface.rules.bodyHeight : 0
        visible: placed && presence > 0

        Behavior on presence {
            enabled: surface.bodySpring.enabled
            NumberAnimation {
                duration: surface.bodySpring.duration
                easing: surface.bodySpring.easing
            }
        }

        // Stays against the header while the slot closes, above it as below it.
        Loader {
            y: body.above ? body.height - surface.rules.bodyHeight - surface.rules.bodyGap : surface.rules.bodyGap
            width: body.width
            height: surface.rules.bodyHeight
            active: body.placed && (body.shown || body.presence > 0)
            sourceComponent: Item {
                objectName: "body"
                opacity: body.presence
                scale: 0.97 + 0.03 * body.presence
                transformOrigin: body.above ? Item.Bottom : Item.Top

                SurfaceGround {
                    anchors.fill: parent
                    topRadius: surface.rules.bodyTopRadius
                    bottomRadius: surface.rules.bodyBottomRadius
                }
                PanelOutline {
                    anchors.fill: parent
                    topRadius: surface.rules.bodyTopRadius
                    bottomRadius: surface.rules.bodyBottomRadius
                }
                OutlineShape {
                    anchors.fill: parent
                    z: 1
                    topRadius: surface.rules.bodyTopRadius
                    bottomRadius: surface.rules.bodyBottomRadius
                    stroke: SurfaceStyle.panelBorderTop(surface.Skinned.skin)
                    strokeEnd: SurfaceStyle.panelBorderBottom(surface.Skinned.skin)
                    strokeWidth: 1
                    Accessible.ignored: true
                }
                Column {
                    width: parent.width
                    Loader {
                        objectName: "expandedContent"
                        width: parent.width
                        height: surface.rules.bodyContentHeight
                        sourceComponent: surface.rules.expandedContent === "rivistaPlayer" ? rivistaPlayer
                                       : surface.rules.expandedContent === "classicoPlayer" ? classicoPlayer
                                       : availabilityRow
                    }
                    Loader {
                        width: parent.width
                        height: surface.rules.skillRowBar
                        visible: surface.rules.showsSkillRow
                        active: surface.rules.showsSkillRow
                        sourceComponent: SkillBarView {
                            objectName: "skillRow"
                            style: "row"
                        }
                    }
                }
            }
        }
    }

    // The thumbnail, the notch, and the indicator or Spotify's icon.
    component NotchedStrip: Row {
        Item {
            width: 52
            height: parent.height
            ArtworkView {
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                width: 24
                height: 24
                source: PlaybackCoordinator.artworkSource
                identity: PlaybackCoordinator.artworkID
                radius: 6
                thumbnail: true
            }
        }
        Item {
            width: surface.rules.notchWidth
            height: parent.height
        }
        Item {
            width: 52
            height: parent.height
            PlayingIndicator {
                objectName: "notchIndicator"
                visible: surface.rules.notchShowsIndicator
                anchors.right: parent.right
                anchors.rightMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                playing: PlaybackCoordinator.isPlaying
                compact: true
                compactWidth: 36
                settings: Preferences.visualizer
                lightEffects: Preferences.lightEffects
                Accessible.ignored: true
            }
            SpotifyAttribution {
                objectName: "notchMark"
                visible: !surface.rules.notchShowsIndicator
                anchors.right: parent.right
                anchors.rightMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                iconOnly: true
                Accessible.ignored: true
            }
        }
    }

    // The pill: thumbnail, scrolling title, indicator and Spotify's icon.
    component DetachedStrip: RowLayout {
        spacing: 0
        ArtworkView {
            Layout.leftMargin: 10
            Layout.preferredWidth: 25
            Layout.preferredHeight: 25
            source: PlaybackCoordinator.artworkSource
            identity: PlaybackCoordinator.artworkID
            radius: 6
            thumbnail: true
        }
        MarqueeTrackTitle {
            objectName: "stripTitle"
            Layout.leftMargin: 10
            Layout.fillWidth: true
            title: surface.rules.title
            trackID: surface.rules.titleIdentity
            weight: surface.rules.titleWeight
            Accessible.ignored: true
        }
        Item {
            Layout.preferredWidth: 8
        }
        Row {
            Layout.rightMargin: 13
            spacing: 7
            PlayingIndicator {
                anchors.verticalCenter: parent.verticalCenter
                playing: PlaybackCoordinator.isPlaying
                compact: true
                compactWidth: 27
                settings: Preferences.visualizer
                lightEffects: Preferences.lightEffects
                Accessible.ignored: true
            }
            SpotifyAttribution {
                anchors.verticalCenter: parent.verticalCenter
                iconOnly: true
                Accessible.ignored: true
            }
        }
    }

    // The skill keys under (or over) the folded header in the peek placement.
    // The strip spans the header column, so the pointer beside the keys is
    // still over them and the player does not unfold under it.
    component PeekRow: Item {
        property bool wanted: false
        property real span: 0

        visible: wanted && surface.rules.showsPeekRow
        anchors.horizontalCenter: parent ? parent.horizontalCenter : undefined
        width: Math.max(span, keys.item ? keys.item.implicitWidth : 0)
        height: 38

        Loader {
            id: keys
            anchors.fill: parent
            active: keys.parent.wanted && surface.rules.showsPeekRow
            sourceComponent: SkillBarView {
                objectName: "peekRow"
                style: "peek"
                slotSize: 26
            }
        }
        HoverHandler {
            onHoveredChanged: if (surface.model) surface.model.skillsHover(hovered)
        }
    }

    Component {
        id: notchedStrip
        NotchedStrip {}
    }
    Component {
        id: detachedStrip
        DetachedStrip {}
    }
    Component {
        id: classicoPlayer
        ClassicoExpandedPlayer {
            model: surface.model
        }
    }
    Component {
        id: rivistaPlayer
        RivistaExpandedPlayer {
            model: surface.model
        }
    }
    Component {
        id: availabilityRow
        Item {
            objectName: "availabilityRow"
            RowLayout {
                anchors.fill: parent
                anchors.margins: 22
                spacing: 22
                MarkView {
                    objectName: "rowMark"
                    Layout.alignment: Qt.AlignTop
                    Layout.preferredWidth: 64
                    Layout.preferredHeight: 64
                    size: 64
                }
                AvailabilityView {
                    Layout.alignment: Qt.AlignTop
                    Layout.fillWidth: true
                    compact: true
                }
                Item {
                    Layout.preferredWidth: 8
                }
                PanelKeys {
                    Layout.alignment: Qt.AlignTop
                    model: surface.model
                    size: 24
                }
            }
        }
    }
    Component {
        id: classicoSidebar
        ClassicoSidebar {
            model: surface.model
        }
    }
    Component {
        id: rivistaSidebar
        RivistaSidebar {
            model: surface.model
        }
    }

    // MARK: The top player

    // Only the content of the panel's kind exists: a top player carries no
    // sidebar, a sidebar no top player.
    Loader {
        active: surface.rules.content === "topPlayer"
        sourceComponent: Column {
            id: stack
            objectName: "topPlayer"
            width: surface.width
            y: surface.rules.opensUpward ? surface.height - height : 0

            Component.onCompleted: surface.rules.announceCurrentTrack()

            ExpandedBody {
                above: true
            }

            // The header column.
            Item {
                id: headerColumn
                objectName: "headerColumn"
                anchors.horizontalCenter: parent.horizontalCenter
                width: headerStack.width
                height: headerStack.height

                CompactGround {
                    anchors.fill: parent
                    translucent: surface.rules.idleTranslucent
                    idleOpacity: Preferences.idleOpacity
                    notch: surface.rules.hasNotch
                    topRadius: surface.rules.headerTopRadius
                    bottomRadius: surface.rules.headerBottomRadius
                    animated: surface.rules.animatesPanels
                }

                Column {
                    id: headerStack
                    opacity: surface.rules.contentOpacity

                    Behavior on opacity {
                        enabled: surface.rules.animatesPanels
                        NumberAnimation {
                            duration: KitMotion.easeOut(0.2).duration
                            easing: KitMotion.easeOut(0.2).easing
                        }
                    }

                    PeekRow {
                        wanted: surface.rules.opensUpward
                        span: headerRow.width
                    }
                    Row {
                        id: headerRow
                        anchors.horizontalCenter: parent.horizontalCenter
                        Loader {
                            visible: surface.rules.showsWings
                            active: surface.rules.showsWings
                            width: 120
                            height: surface.rules.wingHeight
                            sourceComponent: SkillBarView {
                                objectName: "leadingWing"
                                style: "wingLeading"
                                slotSize: surface.rules.wingSlot
                            }
                        }

                        // The header: one accessible element over the strip.
                        AccessibleActionItem {
                            id: header
                            objectName: "header"
                            width: surface.rules.headerWidth
                            height: surface.rules.headerHeight
                            name: Design.localized("Open player")
                            value: surface.rules.title
                            actions: surface.rules.headerActions
                            Accessible.role: Accessible.Button
                            Accessible.name: name
                            onPressed: if (surface.model) surface.model.open()
                            onActionTriggered: action => surface.rules.perform(action)

                            Loader {
                                anchors.fill: parent
                                sourceComponent: surface.rules.hasNotch ? notchedStrip : detachedStrip
                            }

                            readonly property ContextMenuModel menu: ContextMenuModel {
                                items: surface.rules.menuItems
                                onTriggered: action => surface.rules.perform(action)
                            }
                            MouseArea {
                                anchors.fill: parent
                                acceptedButtons: Qt.RightButton
                                onClicked: header.menu.popup()
                            }
                            PlayerDragHandle {
                                id: dragHandle
                                objectName: "dragHandle"
                                anchors.fill: parent
                                model: surface.model
                                dragEnabled: Preferences.dragEnabled
                            }
                            HoverHandler {
                                id: headerHover
                            }
                            HelpTip {
                                anchors.fill: parent
                                text: surface.rules.helpText
                                // Hidden while a drag carries the player; back after a new rest.
                                active: headerHover.hovered && !dragHandle.moving
                            }
                        }

                        Loader {
                            visible: surface.rules.showsWings
                            active: surface.rules.showsWings
                            width: 120
                            height: surface.rules.wingHeight
                            sourceComponent: SkillBarView {
                                objectName: "trailingWing"
                                style: "wingTrailing"
                                slotSize: surface.rules.wingSlot
                            }
                        }
                    }
                    PeekRow {
                        wanted: !surface.rules.opensUpward
                        span: headerRow.width
                    }
                }

                KitShape {
                    objectName: "idleBorder"
                    anchors.fill: parent
                    visible: opacity > 0
                    opacity: surface.rules.idleTranslucent ? 1 : 0
                    radius: 13
                    stroke: Qt.rgba(1, 1, 1, 0.13)
                    strokeWidth: 1

                    Behavior on opacity {
                        enabled: surface.rules.animatesPanels
                        NumberAnimation {
                            duration: KitMotion.easeOut(0.2).duration
                            easing: KitMotion.easeOut(0.2).easing
                        }
                    }
                }
            }

            // The announcement under the notch: the title fades in sliding down 6,
            // then back. Takes no pointer and is hidden from accessibility.
            Loader {
                visible: surface.rules.showsBanner
                active: surface.rules.showsBanner
                anchors.horizontalCenter: parent.horizontalCenter
                width: surface.rules.bannerWidth
                height: 6 + 28
                enabled: false
                Accessible.ignored: true

                sourceComponent: Item {
                    objectName: "banner"
                    Accessible.ignored: true

                    Rectangle {
                        objectName: "bannerPlate"
                        readonly property bool showing: surface.model !== null && surface.model.showsAnnouncement
                        y: 6 + (showing ? 0 : -6)
                        width: parent.width
                        height: 28
                        radius: 10
                        color: "black"
                        opacity: showing ? 1 : 0

                        PanelOutline {
                            anchors.fill: parent
                            topRadius: parent.radius
                            bottomRadius: parent.radius
                        }

                        Behavior on opacity {
                            enabled: surface.rules.animatesPanels
                            NumberAnimation {
                                duration: KitMotion.easeOut(0.3).duration
                                easing: KitMotion.easeOut(0.3).easing
                            }
                        }
                        Behavior on y {
                            enabled: surface.rules.animatesPanels
                            NumberAnimation {
                                duration: KitMotion.easeOut(0.3).duration
                                easing: KitMotion.easeOut(0.3).easing
                            }
                        }

                        MarqueeTrackTitle {
                            x: 12
                            width: parent.width - 24
                            anchors.verticalCenter: parent.verticalCenter
                            title: surface.rules.title
                            trackID: surface.rules.titleIdentity
                            weight: surface.rules.titleWeight
                            alignment: "center"
                            Accessible.ignored: true
                        }
                    }
                }
            }

            ExpandedBody {
                above: false
            }
        }
    }

    // MARK: The sidebar

    Loader {
        anchors.fill: parent
        active: surface.rules.content === "sidebar"
        sourceComponent: SurfacePanel {
            id: sidebarPanel
            objectName: "sidebar"
            radius: 24
            solid: false
            contentItem: Loader {
                sourceComponent: surface.Skinned.skin === "rivista" ? rivistaSidebar : classicoSidebar
            }

            PanelOutline {
                anchors.fill: parent
                topRadius: sidebarPanel.radius
                bottomRadius: sidebarPanel.radius
            }
        }
    }

    Loader {
        anchors.fill: parent
        active: surface.rules.content === "sidebarTab"
        sourceComponent: SidebarTab {
            objectName: "sidebarTab"
            playing: PlaybackCoordinator.isPlaying
            Accessible.role: Accessible.Button
            Accessible.name: Design.localized("Open music sidebar")
            Accessible.onPressAction: if (surface.model) surface.model.open()

            TapHandler {
                onTapped: if (surface.model) surface.model.open()
            }
        }
    }
}
