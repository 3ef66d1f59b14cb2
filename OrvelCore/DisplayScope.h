#pragma once

#include "RawEnum.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// Which connected displays carry the floating panels.
enum class DisplayScope {
    all,
    primary,
    selected,
};

template<>
struct RawEnumCases<DisplayScope> {
    using S = DisplayScope;
    static constexpr std::array<std::pair<S, std::string_view>, 3> cases{
        {{S::all, "all"}, {S::primary, "primary"}, {S::selected, "selected"}}};
};

// The displays that get panels, out of `available` (identifiers in the
// catalogue's order). Empty only when nothing is available; only `all` gives
// more than one display. A missing choice falls back to the primary display,
// and a missing primary to the first available one.
QSet<QString> resolve(DisplayScope scope, const QStringList &available,
    const std::optional<QString> &primaryID, const std::optional<QString> &selectedID);
