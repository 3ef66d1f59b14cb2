import QtQuick
import Orvel
import Orvel.Shared

// Spotify's logo as the button beside the current track, under its title.
Sheet {
    Text {
        color: Skinned.palette.text
        font: Typography.role("headline")
        text: PlaybackCoordinator.trackTitle ?? "No track"
    }
    Attribution {}
}
