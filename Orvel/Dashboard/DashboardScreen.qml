import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// The sidebar beside the page of the selected section, the sheets the pages
// open, and the guided setup in place of both while it is pending.
Item {
    id: screen

    // Sheet state; the pages set it.
    property bool adding: false
    property var addingSlot: null
    property bool widgetGuide: false
    property var editing: null

    readonly property bool showsSetup: Preferences.needsSetup && !PlaybackCoordinator.isPreview
    readonly property DashboardMetrics metrics: DashboardMetrics { skin: screen.Skinned.skin }

    // The skill bar's request for a new shortcut in a slot.
    function newShortcut(slot) {
        addingSlot = slot;
        adding = true;
    }
    // Closing a sheet keeps the slot for the next one.
    function closeSheets() {
        adding = false;
        widgetGuide = false;
        editing = null;
    }

    // A new guide, at its first step, each time setup is needed again.
    Loader {
        objectName: "OnboardingView"
        anchors.fill: parent
        active: screen.showsSetup
        visible: screen.showsSetup
        sourceComponent: OnboardingView {}
    }

    Item {
        id: workspace
        objectName: "workspace"
        anchors.fill: parent
        visible: !screen.showsSetup

        SurfaceGround {
            anchors.fill: parent
        }

        Item {
            id: sidebar
            objectName: "sidebar"
            width: screen.metrics.sidebarWidth
            height: parent.height

            Column {
                x: screen.metrics.sidebarLeading
                y: screen.metrics.sidebarTop
                width: sidebar.width - screen.metrics.sidebarLeading - screen.metrics.sidebarTrailing
                spacing: 0

                Row {
                    spacing: screen.metrics.brandSpacing
                    MarkView {
                        anchors.verticalCenter: parent.verticalCenter
                        size: screen.metrics.brandMark
                        width: size
                        height: size
                    }
                    Text {
                        textFormat: Text.PlainText
                        anchors.verticalCenter: parent.verticalCenter
                        color: screen.Skinned.palette.text
                        font: Typography.display(screen.metrics.brandTextSize)
                        text: Design.localized("Orvel")
                    }
                }
                Column {
                    objectName: "sectionList"
                    width: parent.width
                    topPadding: screen.metrics.sectionListTop
                    spacing: screen.metrics.sectionSpacing
                    Repeater {
                        model: DashboardState.sections
                        SectionRow {
                            required property string modelData
                            section: modelData
                        }
                    }
                }
            }

            Column {
                x: screen.metrics.sidebarLeading
                anchors.bottom: parent.bottom
                anchors.bottomMargin: screen.metrics.sidebarBottom
                spacing: screen.metrics.versionTop

                Text {
                    textFormat: Text.PlainText
                    objectName: "connection"
                    color: screen.Skinned.palette.muted
                    font: SkinFonts.system(screen.metrics.captionSize)
                    text: DashboardTexts.connection(PlaybackCoordinator.availability)
                }
                Text {
                    textFormat: Text.PlainText
                    objectName: "version"
                    color: screen.Skinned.palette.muted
                    font: SkinFonts.system(screen.metrics.captionSize)
                    text: Design.localized("Orvel ") + DashboardTexts.versionText
                }
            }
        }

        DetailPane {
            x: sidebar.width
            width: parent.width - sidebar.width
            height: parent.height
            dashboard: screen
        }
    }

    T.Popup {
        id: sheet
        objectName: "sheet"
        readonly property bool editsShortcut: !screen.widgetGuide && (screen.adding || screen.editing !== null)
        anchors.centerIn: parent
        // The editor and the widget guide keep their own widths and heights.
        width: editsShortcut ? 460 : screen.widgetGuide ? 650 : Math.min(640, screen.width - 80)
        height: Math.min(content.implicitHeight, screen.height - 40)
        modal: true
        focus: true
        // Only once the screen is in a window: a popup cannot open before.
        visible: (screen.adding || screen.editing !== null || screen.widgetGuide) && screen.Window.window !== null
        closePolicy: T.Popup.CloseOnEscape
        // The dashboard moves into a new window after each closing, and a popup
        // closes when it leaves its window; that close is nobody's answer, so
        // the sheet keeps its state and opens again in the new window.
        onClosed: if (screen.Window.window !== null) screen.closeSheets()

        // The popup stands in the window's overlay, outside the screen: it
        // takes the screen's environment along.
        background: SurfaceGround {
            solid: true
            Skinned.owner: screen
        }
        contentItem: Loader {
            id: content
            Skinned.owner: screen
            // A new form for every opening, kept while its window changes.
            active: screen.adding || screen.editing !== null || screen.widgetGuide
            focus: true
            sourceComponent: sheet.editsShortcut ? editorSheet : guideSheet
        }
        T.Overlay.modal: Rectangle {
            color: Qt.rgba(0, 0, 0, 0.45)
        }
    }

    Component {
        id: editorSheet
        ShortcutEditor {
            focus: true
            // Adding offers the pending slot; editing offers none.
            shortcut: screen.adding ? null : screen.editing
            slot: screen.adding ? screen.addingSlot : null
            onDismissed: screen.closeSheets()
        }
    }
    Component {
        id: guideSheet
        WidgetGuideView {
            onDismiss: sheet.close()
        }
    }
}
