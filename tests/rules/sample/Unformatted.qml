import QtQuick

// A formatted item, one inside a binding's braces and one without a format.
Item {
    Text {
        textFormat: Text.PlainText
        text: { return "formatted"; }
    }
    Text {
        text: "unformatted"
        Text {
            textFormat: Text.PlainText
        }
    }
    Label { textFormat: Text.PlainText; text: "inline" }
}
