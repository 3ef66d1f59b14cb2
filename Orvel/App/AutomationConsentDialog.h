#pragma once

#include "AutomationPermission.h"

// Asks the user on the GUI thread whether Orvel may control an application,
// from whichever thread calls it; nothing when the app has no widgets to ask with.
ConsentPrompt automationConsentDialog();
