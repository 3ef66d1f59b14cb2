#include "AppEngine.h"

AppDelegate::Services appDelegateServices()
{
    return {};
}

void installPlaybackIntentPerformer() { }
