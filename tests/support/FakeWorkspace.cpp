#include "FakeWorkspace.h"

bool FakeWorkspace::openSpotify(bool activates)
{
    openedSpotify.push_back(activates);
    if (!openSucceeds)
        return false;
    if (launchPid)
        launchSpotify(*launchPid);
    return true;
}

void FakeWorkspace::launchSpotify(std::int32_t pid)
{
    spotifyPid = pid;
    emit applicationLaunched(spotifyBundleIdentifier);
}

void FakeWorkspace::terminateSpotify()
{
    spotifyPid.reset();
    emit applicationTerminated(spotifyBundleIdentifier);
}

void FakeWorkspace::answerLookUp(std::optional<std::int32_t> pid)
{
    lookingUp = false;
    if (pid)
        launchSpotify(*pid);
    emit spotifyLookUpEnded();
}
