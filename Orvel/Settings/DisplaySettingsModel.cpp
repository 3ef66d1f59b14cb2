#include "DisplaySettingsModel.h"

#include "DisplayCatalog.h"
#include "Localization.h"
#include "Preferences.h"

void DisplaySettingsModel::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    m_preferences = preferences;
    rewatch();
    emit changed();
}

void DisplaySettingsModel::setCatalog(DisplayCatalog *catalog)
{
    if (catalog == m_catalog)
        return;
    m_catalog = catalog;
    rewatch();
    emit changed();
}

void DisplaySettingsModel::rewatch()
{
    for (const auto &connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    const auto notify = [this] { emit changed(); };
    if (m_preferences) {
        m_connections.push_back(connect(m_preferences, &Preferences::displayScopeChanged, this, notify));
        m_connections.push_back(connect(m_preferences, &Preferences::selectedDisplayIDChanged, this, notify));
    }
    if (m_catalog)
        m_connections.push_back(connect(m_catalog, &DisplayCatalog::displaysChanged, this, notify));
}

QString DisplaySettingsModel::scopeTitle(DisplayScope scope)
{
    switch (scope) {
    case DisplayScope::all:
        return localized(QStringLiteral("All displays"));
    case DisplayScope::primary:
        return localized(QStringLiteral("Primary only"));
    case DisplayScope::selected:
        return localized(QStringLiteral("Choose a display"));
    }
    return {};
}

QVariantList DisplaySettingsModel::scopeChoices() const
{
    QVariantList choices;
    for (const DisplayScope scope : allCases<DisplayScope>())
        choices << QVariantMap{{QStringLiteral("scope"), toRawValue(scope)},
            {QStringLiteral("title"), scopeTitle(scope)},
            {QStringLiteral("selected"), m_preferences && m_preferences->displayScope() == scope}};
    return choices;
}

bool DisplaySettingsModel::showsMenu() const
{
    return m_preferences && m_preferences->displayScope() == DisplayScope::selected;
}

std::vector<DisplaySettingsModel::MenuEntry> DisplaySettingsModel::menu() const
{
    std::vector<MenuEntry> entries;
    if (!m_preferences)
        return entries;
    const std::optional<QString> &stored = m_preferences->selectedDisplayID();
    if (!stored)
        // Picking it stores the empty text, not the absence of an id.
        entries.push_back({localized(QStringLiteral("Choose a display")), QStringLiteral("")});
    if (selectedDisplayMissing())
        entries.push_back({localized(QStringLiteral("Saved display \u00B7 disconnected")), *stored});
    if (m_catalog)
        for (const DisplayCatalog::Display &display : m_catalog->displays())
            entries.push_back({display.isPrimary
                    ? display.title() + QStringLiteral(" \u00B7 ") + localized(QStringLiteral("Primary"))
                    : display.title(),
                display.id});
    return entries;
}

QVariantList DisplaySettingsModel::menuEntries() const
{
    QVariantList entries;
    for (const MenuEntry &entry : menu())
        entries << QVariantMap{{QStringLiteral("title"), entry.title}, {QStringLiteral("tag"), entry.tag}};
    return entries;
}

QString DisplaySettingsModel::menuSelection() const
{
    const QString stored = m_preferences ? m_preferences->selectedDisplayID().value_or(QString()) : QString();
    // A display chosen before it mirrored another is chosen as the one listed for both.
    return m_catalog ? m_catalog->listedID(stored) : stored;
}

int DisplaySettingsModel::menuIndex() const
{
    const std::vector<MenuEntry> entries = menu();
    const QString selection = menuSelection();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].tag == selection)
            return int(i);
    return -1;
}

bool DisplaySettingsModel::selectedDisplayMissing() const
{
    if (!m_preferences || m_preferences->displayScope() != DisplayScope::selected)
        return false;
    const std::optional<QString> &stored = m_preferences->selectedDisplayID();
    if (!stored)
        return false;
    if (!m_catalog)
        return true;
    const QList<DisplayCatalog::Display> &displays = m_catalog->displays();
    const QString listed = m_catalog->listedID(*stored);
    return std::none_of(displays.begin(), displays.end(),
        [&](const DisplayCatalog::Display &display) { return display.id == listed; });
}

QString DisplaySettingsModel::noteText() const
{
    return localized(selectedDisplayMissing()
            ? QStringLiteral("Your chosen display is disconnected. Orvel is on the primary display and will "
                             "move back when it reconnects.")
            : QStringLiteral(
                "Click a display to select it. If it disconnects, Orvel temporarily moves to the "
                "primary display."));
}

QString DisplaySettingsModel::noteSymbol() const
{
    return selectedDisplayMissing() ? QStringLiteral("display.trianglebadge.exclamationmark")
                                    : QStringLiteral("info.circle");
}

QVariantList DisplaySettingsModel::displays() const
{
    return m_catalog ? m_catalog->property("displays").toList() : QVariantList();
}

QStringList DisplaySettingsModel::activeIDs() const
{
    return m_catalog && m_preferences ? m_catalog->activeIDs(m_preferences) : QStringList();
}

void DisplaySettingsModel::choose(DisplayScope scope)
{
    if (!m_preferences)
        return;
    if (scope == DisplayScope::selected && !m_preferences->selectedDisplayID()) {
        std::optional<QString> chosen;
        if (m_catalog) {
            const QList<DisplayCatalog::Display> &displays = m_catalog->displays();
            const auto primary = std::find_if(displays.begin(), displays.end(),
                [](const DisplayCatalog::Display &display) { return display.isPrimary; });
            if (primary != displays.end())
                chosen = primary->id;
            else if (!displays.isEmpty())
                chosen = displays.first().id;
        }
        m_preferences->setSelectedDisplayID(chosen);
    }
    // Last, so whoever follows the scope finds the display already stored.
    m_preferences->setDisplayScope(scope);
}

void DisplaySettingsModel::choose(const QString &scope)
{
    if (const auto parsed = fromRawValue<DisplayScope>(scope))
        choose(*parsed);
}

void DisplaySettingsModel::selectDisplay(const QString &id)
{
    if (!m_preferences)
        return;
    m_preferences->setSelectedDisplayID(id);
    m_preferences->setDisplayScope(DisplayScope::selected);
}

void DisplaySettingsModel::pickMenuEntry(int index)
{
    const std::vector<MenuEntry> entries = menu();
    if (!m_preferences || index < 0 || std::size_t(index) >= entries.size())
        return;
    m_preferences->setSelectedDisplayID(entries[std::size_t(index)].tag);
}

void DisplaySettingsModel::identify()
{
    if (m_catalog)
        m_catalog->identify();
}
