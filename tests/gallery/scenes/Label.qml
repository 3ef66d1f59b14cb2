import QtQuick
import Orvel.Shared

// A caption under or beside a sample.
Text {
    color: Skinned.palette.muted
    font: Typography.role("caption")
}
