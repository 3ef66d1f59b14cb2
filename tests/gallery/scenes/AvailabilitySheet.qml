import QtQuick
import Orvel
import Orvel.Shared

// The notice as a surface places it: full in a wide column, compact in a
// narrow one; the coordinator's scripted availability chooses what it says.
Sheet {
    id: sheet

    required property bool compact

    AvailabilityView {
        width: sheet.compact ? 240 : 300
        compact: sheet.compact
    }
}
