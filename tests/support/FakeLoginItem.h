#pragma once

#include "LoginItem.h"

#include <optional>

// A login item that does what it is told: the status it reports, a status a
// successful registration leads to, and calls that fail.
class FakeLoginItem final : public LoginItem {
public:
    Status status() const override { return currentStatus; }
    void registerItem() override;
    void unregisterItem() override;

    Status currentStatus = Status::notRegistered;
    // What a successful registration leaves (enabled unless set).
    std::optional<Status> statusAfterRegistering;
    bool failsChanges = false;
    int registerCalls = 0;
    int unregisterCalls = 0;
};
