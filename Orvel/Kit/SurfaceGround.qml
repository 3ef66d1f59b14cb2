import QtQuick
import Orvel
import Orvel.Shared

// The full-bleed ground of a panel, the dashboard or the setup, painted into
// its shape (a rounded rectangle of `radius`). A new aura cross-fades the
// rivista field unless track changes are still.
SurfaceGroundLayers {
    id: ground

    Accessible.ignored: true

    onFadeStarted: fading.restart()

    // Linear: the ground applies the curve to each field's own fade.
    NumberAnimation {
        id: fading
        target: ground
        property: "fade"
        from: 0
        to: 1
        duration: ground.fadeAnimation.duration
    }
}
