import QtQuick
import Orvel
import Orvel.Shared

// The skill bar as row, wings and peek over six slots: empty, filled, the
// starting one mid-sweep, the last started and a failed one.
Sheet {
    id: sheet

    property string casting: ""
    property string lastCast: ""
    property string failedCast: ""

    Label { text: "row" }
    SkillBarView {
        width: 300
        height: 44
        style: "row"
        castingID: sheet.casting
        lastCastID: sheet.lastCast
        failedCastID: sheet.failedCast
        previewSweep: 0.62
    }
    Label { text: "wings" }
    Row {
        spacing: 40
        SkillBarView {
            width: 120
            height: 44
            style: "wingLeading"
            castingID: sheet.casting
            lastCastID: sheet.lastCast
            failedCastID: sheet.failedCast
            previewSweep: 0.62
        }
        SkillBarView {
            width: 120
            height: 44
            style: "wingTrailing"
            castingID: sheet.casting
            lastCastID: sheet.lastCast
            failedCastID: sheet.failedCast
        }
    }
    Label { text: "peek" }
    SkillBarView {
        width: 228
        height: 38
        style: "peek"
        castingID: sheet.casting
        lastCastID: sheet.lastCast
        failedCastID: sheet.failedCast
        previewSweep: 0.62
    }
}
