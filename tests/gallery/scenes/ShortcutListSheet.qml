import QtQuick
import Orvel
import Orvel.Shared

// The sidebar's shortcut list at a sidebar's width.
Sheet {
    ShortcutListView {
        width: 260
    }
}
