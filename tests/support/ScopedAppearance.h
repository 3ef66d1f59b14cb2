#pragma once

#include "SystemAppearance.h"

// Overrides the desktop's appearance settings (Reduce Motion and the others) for
// the guard's lifetime, then puts back the overrides it found.
class ScopedAppearance {
public:
    explicit ScopedAppearance(const SystemAppearance::Overrides &overrides);
    ~ScopedAppearance();
    ScopedAppearance(const ScopedAppearance &) = delete;
    ScopedAppearance &operator=(const ScopedAppearance &) = delete;

private:
    SystemAppearance::Overrides m_previous;
};
