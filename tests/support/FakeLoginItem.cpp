#include "FakeLoginItem.h"

void FakeLoginItem::registerItem()
{
    ++registerCalls;
    if (failsChanges)
        throw LoginItemError("refused");
    currentStatus = statusAfterRegistering.value_or(Status::enabled);
}

void FakeLoginItem::unregisterItem()
{
    ++unregisterCalls;
    if (failsChanges)
        throw LoginItemError("refused");
    currentStatus = Status::notRegistered;
}
