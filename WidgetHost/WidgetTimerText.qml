import QtQuick
import Orvel.WidgetKit

// A running timer from `start` to `end` (seconds since 2001-01-01 UTC), as the
// desktop draws it: the text ticks by itself between timeline entries.
Text {
    textFormat: Text.PlainText
    property alias start: clock.start
    property alias end: clock.end
    property alias countsDown: clock.countsDown
    property alias showsHours: clock.showsHours

    text: clock.text

    TimerText {
        id: clock
    }
}
