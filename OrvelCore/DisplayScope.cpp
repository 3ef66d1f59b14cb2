#include "DisplayScope.h"

QSet<QString> resolve(DisplayScope scope, const QStringList &available,
    const std::optional<QString> &primaryID, const std::optional<QString> &selectedID)
{
    const QSet<QString> connected(available.cbegin(), available.cend());
    if (connected.isEmpty())
        return {};
    if (scope == DisplayScope::all)
        return connected;
    if (scope == DisplayScope::selected && selectedID && connected.contains(*selectedID))
        return {*selectedID};
    if (primaryID && connected.contains(*primaryID))
        return {*primaryID};
    return {available.first()};
}
