#pragma once

#include "AppDelegate.h"
#include "SpotifyPlaybackIntent.h"

class PlaybackCoordinator;

// The app's delegate wired to the process-wide playback engine and settings.
AppDelegate::Services appDelegateServices();
// The widgets' playback intent as the app performs it: the same road as any
// control, refused while Spotify is not ready or another command runs.
QCoro::Task<void> performPlaybackIntent(PlaybackCoordinator &coordinator, WidgetPlaybackAction action);
// Lets the widgets' playback intent run its command in this process.
void installPlaybackIntentPerformer();
