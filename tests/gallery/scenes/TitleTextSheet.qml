import QtQuick
import Orvel
import Orvel.Shared

// Titles at the sizes views use, one line cut at 220 points, and unlimited lines.
Sheet {
    Repeater {
        model: [13, 17, 22, 40]
        Row {
            spacing: 12
            Label {
                width: 32
                anchors.baseline: title.baseline
                text: modelData
            }
            TitleText {
                id: title
                size: modelData
                text: "Holocene"
            }
        }
    }
    TitleText {
        width: 220
        size: 17
        text: "Skinny Love (Live from the Ancienne Belgique)"
    }
    TitleText {
        width: 220
        size: 17
        lines: null
        text: "Skinny Love (Live from the Ancienne Belgique)"
    }
}
