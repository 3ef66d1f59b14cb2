#pragma once

#include "Workspace.h"

#include <QList>
#include <QUrl>
#include <cstdint>
#include <optional>
#include <vector>

// A workspace whose answers tests set.
class FakeWorkspace final : public Workspace {
    Q_OBJECT
public:
    using Workspace::Workspace;

    std::optional<std::int32_t> spotifyProcessIdentifier() override { return spotifyPid; }
    bool isLookingUpSpotify() const override { return lookingUp; }
    bool isSpotifyInstalled() override { return spotifyInstalled; }
    // Records the call; launches Spotify with launchPid when it is set.
    bool openSpotify(bool activates) override;
    bool openURL(const QUrl &url) override
    {
        openedURLs.append(url);
        return true;
    }

    void launchSpotify(std::int32_t pid);
    void terminateSpotify();
    // The bus's first answer: Spotify at pid, or not running.
    void answerLookUp(std::optional<std::int32_t> pid);

    std::optional<std::int32_t> spotifyPid;
    bool spotifyInstalled = true;
    bool lookingUp = false;
    bool openSucceeds = true;
    std::optional<std::int32_t> launchPid;
    std::vector<bool> openedSpotify; // the activates flag of each call
    QList<QUrl> openedURLs;
};
