import QtQuick
import QtQuick.Templates as T
import Orvel
import Orvel.Shared

// A card around its content: classico a faint glassy box of `radius`,
// rivista only a rule along the top (the radius has no effect there).
//     SkinCard { contentItem: Column { … } }
T.Control {
    id: card

    property real radius: SurfaceStyle.cardRadius
    readonly property bool boxed: SurfaceStyle.cardHasBox(Skinned.skin)

    padding: 0
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    background: KitShape {
        visible: card.boxed
        radius: card.radius
        fill: SurfaceStyle.cardFillColors()[0]
        fillEnd: SurfaceStyle.cardFillColors()[1]
        fillDiagonal: true
        strokeWidth: 0
        Accessible.ignored: true
    }

    KitShape {
        parent: card
        anchors.fill: parent
        z: 1
        visible: card.boxed
        radius: card.radius
        stroke: SurfaceStyle.cardBorderColors()[0]
        strokeEnd: SurfaceStyle.cardBorderColors()[1]
        strokeDiagonal: true
        strokeWidth: 1
        Accessible.ignored: true
    }
    SectionRule {
        parent: card
        width: card.width
        z: 1
        visible: !card.boxed
    }
}
