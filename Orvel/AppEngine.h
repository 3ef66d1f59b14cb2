#pragma once

#include "AppDelegate.h"

// The app's delegate wired to the process-wide playback engine and settings.
AppDelegate::Services appDelegateServices();
// Lets the widgets' playback intent run its command in this process.
void installPlaybackIntentPerformer();
