#include "ShortcutEditorModel.h"

#include "Localization.h"
#include "SkillBar.h"
#include "SkillGlyphImage.h"
#include "Uuid.h"

#include <numeric>

namespace {
bool isSlot(int slot)
{
    return slot >= 0 && slot < SkillBar::capacity;
}

std::optional<int> slotFrom(const QVariant &value)
{
    bool isNumber = false;
    const int slot = value.toInt(&isNumber);
    if (value.isNull() || !isNumber || !isSlot(slot))
        return std::nullopt;
    return slot;
}
} // namespace

ShortcutEditorModel::ShortcutEditorModel(QObject *parent, Scheduler *scheduler)
    : QObject(parent)
    , m_scheduler(scheduler)
{
}

ShortcutEditorModel::~ShortcutEditorModel()
{
    m_lookup.cancel();
}

QVariantMap ShortcutEditorModel::describe(const MusicShortcut &shortcut)
{
    return {
        {QStringLiteral("id"), uuidString(shortcut.id)},
        {QStringLiteral("title"), shortcut.title},
        {QStringLiteral("link"), shortcut.link.url().toString()},
        {QStringLiteral("glyph"),
            shortcut.glyph ? QVariant(toRawValue(*shortcut.glyph)) : QVariant::fromValue(nullptr)},
    };
}

std::optional<MusicShortcut> ShortcutEditorModel::shortcutFrom(const QVariant &value)
{
    const QVariantMap map = value.toMap();
    const std::optional<QUuid> id = uuidFromString(map.value(QStringLiteral("id")).toString());
    const std::optional<SpotifyLink> link = SpotifyLink::parse(map.value(QStringLiteral("link")).toString());
    if (!id || !link)
        return std::nullopt;
    MusicShortcut shortcut(
        *id, QString(), *link, fromRawValue<SkillGlyph>(map.value(QStringLiteral("glyph")).toString()));
    // As stored, not trimmed again.
    shortcut.title = map.value(QStringLiteral("title")).toString();
    return shortcut;
}

QList<qreal> ShortcutEditorModel::segmentWidths(const QList<qreal> &textWidths, qreal total)
{
    QList<qreal> widths;
    for (const qreal text : textWidths)
        widths << std::ceil(text) + 2 * segmentPadding;
    const qreal natural = std::accumulate(widths.begin(), widths.end(), qreal(0));
    if (widths.isEmpty() || natural >= total)
        return widths;
    const qreal share = (total - natural) / widths.size();
    for (qreal &width : widths)
        width += share;
    return widths;
}

void ShortcutEditorModel::setCoordinator(PlaybackCoordinator *coordinator)
{
    if (coordinator == m_coordinator)
        return;
    m_coordinator = coordinator;
    emit coordinatorChanged();
}

void ShortcutEditorModel::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    m_preferences = preferences;
    emit preferencesChanged();
}

QString ShortcutEditorModel::heading() const
{
    return m_editing ? localized(QStringLiteral("Edit shortcut")) : localized(QStringLiteral("Add shortcut"));
}

template<class Change>
void ShortcutEditorModel::changing(Change change)
{
    const bool couldSave = canSave();
    const std::optional<SkillGlyph> shown = effectiveGlyph();
    change();
    if (canSave() != couldSave)
        emit canSaveChanged();
    if (effectiveGlyph() != shown)
        emit effectiveGlyphChanged();
}

void ShortcutEditorModel::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    changing([&] { m_title = title; });
    emit titleChanged();
}

void ShortcutEditorModel::setLink(const QString &link)
{
    if (link == m_link)
        return;
    changing([&] { m_link = link; });
    emit linkChanged();
    scheduleLookup(link);
}

void ShortcutEditorModel::setGlyph(const std::optional<SkillGlyph> &glyph)
{
    if (glyph == m_glyph)
        return;
    changing([&] { m_glyph = glyph; });
    emit glyphChanged();
}

std::optional<SkillGlyph> ShortcutEditorModel::effectiveGlyph() const
{
    if (m_glyph)
        return m_glyph;
    if (const std::optional<SpotifyLink> parsed = SpotifyLink::parse(m_link))
        return standardSkillGlyph(parsed->kind());
    return std::nullopt;
}

void ShortcutEditorModel::setSkillSlot(std::optional<int> slot)
{
    if (slot && !isSlot(*slot))
        slot.reset();
    if (slot == m_skillSlot)
        return;
    m_skillSlot = slot;
    emit skillSlotChanged();
}

bool ShortcutEditorModel::canSave() const
{
    return !m_title.trimmed().isEmpty() && SpotifyLink::parse(m_link).has_value();
}

void ShortcutEditorModel::populate(const std::optional<MusicShortcut> &shortcut, std::optional<int> slot)
{
    m_editing = shortcut.has_value();
    m_id = shortcut ? shortcut->id : QUuid::createUuid();
    changing([&] {
        m_title = shortcut ? shortcut->title : QString();
        m_link = shortcut ? shortcut->link.url().toString() : QString();
        m_glyph = shortcut ? shortcut->glyph : std::nullopt;
    });
    std::optional<int> held;
    if (shortcut && m_preferences)
        held = m_preferences->skills().slot(shortcut->id);
    setSkillSlot(held ? held : slot);
    emit titleChanged();
    emit linkChanged();
    emit glyphChanged();
    emit populated();
}

void ShortcutEditorModel::populate(const QVariant &shortcut, const QVariant &slot)
{
    populate(shortcutFrom(shortcut), slotFrom(slot));
}

void ShortcutEditorModel::scheduleLookup(const QString &text)
{
    cancelLookup();
    setLookingUp(false);
    if (!m_title.trimmed().isEmpty())
        return;
    const std::optional<SpotifyLink> link = SpotifyLink::parse(text);
    if (!link || !m_coordinator)
        return;
    Scheduler *scheduler = m_scheduler ? m_scheduler : &Scheduler::current();
    // The sheet may be gone by the time the answer comes.
    const QPointer<ShortcutEditorModel> self(this);
    const QPointer<PlaybackCoordinator> coordinator(m_coordinator);
    m_lookup = scheduler->spawn(
        [scheduler, self, coordinator, link = *link](TaskHandle task) -> QCoro::Task<void> {
            const bool slept = co_await scheduler->sleep(lookupDelay, task);
            if (!slept || !self || !coordinator)
                co_return;
            self->setLookingUp(true);
            const std::optional<QString> found = co_await coordinator->lookupTitle(link);
            if (task.isCancelled() || !self)
                co_return;
            self->setLookingUp(false);
            if (found && self->m_title.trimmed().isEmpty())
                self->setTitle(*found);
        });
}

void ShortcutEditorModel::cancelLookup()
{
    m_lookup.cancel();
    m_lookup = {};
}

bool ShortcutEditorModel::save()
{
    if (!m_submitted) {
        m_submitted = true;
        emit submittedChanged();
        emit canSaveChanged(); // showsMessage may now read true
    }
    if (!m_coordinator || !m_coordinator->upsertShortcut(m_id, m_title, m_link, m_glyph))
        return false;
    if (m_preferences) {
        SkillBar skills = m_preferences->skills();
        if (m_skillSlot) {
            skills.assign(m_id, *m_skillSlot);
            m_preferences->setSkills(skills);
        } else if (const std::optional<int> held = skills.slot(m_id)) {
            skills.assign(std::nullopt, *held);
            m_preferences->setSkills(skills);
        }
    }
    cancelLookup();
    emit dismissed();
    return true;
}

void ShortcutEditorModel::cancel()
{
    cancelLookup();
    emit dismissed();
}

QVariant ShortcutEditorModel::glyphValue() const
{
    return m_glyph ? QVariant(toRawValue(*m_glyph)) : QVariant::fromValue(nullptr);
}

void ShortcutEditorModel::setGlyphValue(const QVariant &value)
{
    setGlyph(value.isNull() ? std::nullopt : fromRawValue<SkillGlyph>(value.toString()));
}

QString ShortcutEditorModel::effectiveGlyphName() const
{
    const std::optional<SkillGlyph> shown = effectiveGlyph();
    return shown ? toRawValue(*shown) : QString();
}

QVariant ShortcutEditorModel::skillSlotValue() const
{
    return m_skillSlot ? QVariant(*m_skillSlot) : QVariant::fromValue(nullptr);
}

void ShortcutEditorModel::setSkillSlotValue(const QVariant &value)
{
    setSkillSlot(slotFrom(value));
}

QVariantList ShortcutEditorModel::glyphChoices() const
{
    QVariantList choices;
    for (const SkillGlyph glyph : allCases<SkillGlyph>())
        choices << QVariantMap{
            {QStringLiteral("glyph"), toRawValue(glyph)}, {QStringLiteral("name"), accessibilityName(glyph)}};
    return choices;
}

QVariantList ShortcutEditorModel::slotChoices() const
{
    QVariantList choices{QVariantMap{{QStringLiteral("label"), localized(QStringLiteral("No slot"))},
        {QStringLiteral("value"), QVariant::fromValue(nullptr)}}};
    for (int slot = 0; slot < SkillBar::capacity; ++slot)
        choices << QVariantMap{{QStringLiteral("label"), localized(QStringLiteral("%lld"), {slot + 1})},
            {QStringLiteral("value"), slot}};
    return choices;
}

void ShortcutEditorModel::setLookingUp(bool lookingUp)
{
    if (lookingUp == m_lookingUp)
        return;
    m_lookingUp = lookingUp;
    emit lookingUpChanged();
}
