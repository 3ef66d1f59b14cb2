import QtQuick
import Orvel
import Orvel.Shared

// A track title on one line that scrolls when too wide; one accessible
// text, the cleaned title.
MarqueeTitlePainter {
    id: title

    color: Skinned.palette.text
    Accessible.role: Accessible.StaticText
    Accessible.name: title.displayTitle
}
