import QtQuick
import Orvel
import Orvel.Shared

// Rules take the width of their container: three columns of 60, 160 and 260.
Sheet {
    Repeater {
        model: [60, 160, 260]
        Column {
            width: modelData
            spacing: 6
            Label { text: modelData + " points" }
            SectionRule {}
        }
    }
}
