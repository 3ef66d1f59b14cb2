import QtQuick
import Orvel
import Orvel.Shared

// Time readouts, plain and emphasized, at the progress control's sizes.
Sheet {
    Repeater {
        model: [false, true]
        Row {
            spacing: 14
            Label {
                width: 80
                anchors.baseline: small.baseline
                text: modelData ? "emphasized" : "plain"
            }
            TimeText {
                id: small
                size: 11
                emphasized: modelData
                text: "1:07"
            }
            TimeText {
                size: 13
                emphasized: modelData
                text: "12:48"
            }
            TimeText {
                size: 28
                emphasized: modelData
                text: "3:07"
            }
        }
    }
}
