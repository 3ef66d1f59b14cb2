#include "PlatformFeatures.h"

#include <atomic>

namespace {
// The widget host is part of every Linux installation.
std::atomic<bool> currentDesktopWidgets{true};
} // namespace

PlatformFeatures PlatformFeatures::current()
{
    return PlatformFeatures{currentDesktopWidgets.load(std::memory_order_relaxed)};
}

void PlatformFeatures::setCurrent(PlatformFeatures features)
{
    currentDesktopWidgets.store(features.desktopWidgets, std::memory_order_relaxed);
}
