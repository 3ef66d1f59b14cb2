import QtQuick
import Orvel
import Orvel.Shared

// Track titles: one that fits, one scrolled mid-way with both fades, and
// (under light effects) cut with an ellipsis.
Sheet {
    Label { text: "fits, centred" }
    MarqueeTrackTitle {
        width: 200
        trackID: "a"
        alignment: "center"
        title: "Holocene"
        color: Skinned.palette.text
    }
    Label { text: "too wide" }
    MarqueeTrackTitle {
        previewElapsed: 6
        width: 200
        trackID: "b"
        title: "Holocene (Live at the Hollywood Bowl, Los Angeles)"
        color: Skinned.palette.text
    }
}
