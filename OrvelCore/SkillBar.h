#pragma once

#include "MusicShortcut.h"
#include "RawEnum.h"

#include <QList>
#include <QUuid>
#include <array>
#include <optional>

// Where the skill bar sits on the top player.
enum class SkillPlacement {
    hidden, // no skill bar
    row, // a row inside the expanded player
    wings, // beside the expanded player's header
    peek, // a strip under the collapsed player while it peeks
};

template<>
struct RawEnumCases<SkillPlacement> {
    using P = SkillPlacement;
    static constexpr std::array<std::pair<P, std::string_view>, 4> cases{
        {{P::hidden, "hidden"}, {P::row, "row"}, {P::wings, "wings"}, {P::peek, "peek"}}};
};

// The six keys of the skill bar, each holding a shortcut id or nothing.
// An id is never in two slots; ids of deleted shortcuts may linger and resolve to nothing.
class SkillBar {
public:
    static constexpr int capacity = 6;
    using Slots = std::array<std::optional<QUuid>, capacity>;

    SkillBar() = default;
    // Keeps the first six elements; a repeated id leaves its later slots empty.
    explicit SkillBar(const QList<std::optional<QUuid>> &ids);

    // Not called `slots`: Qt defines that word as a macro.
    const Slots &slotIds() const { return m_slots; }

    // For each slot, the first shortcut of the list with the slot's id.
    std::array<std::optional<MusicShortcut>, capacity> resolve(const QList<MusicShortcut> &shortcuts) const;
    bool hasSkills(const QList<MusicShortcut> &shortcuts) const;
    std::optional<int> slot(const QUuid &id) const;
    std::optional<int> firstEmptySlot() const;

    // Moves the id into slot `index` (emptying the slot that held it); nothing empties the slot.
    void assign(const std::optional<QUuid> &id, int index);
    void swap(int i, int j);
    void remove(const QUuid &id);

    // {"slots":[six ids or nulls]}. Anything but an object throws; a missing or
    // malformed "slots" reads as six empty slots.
    QJsonValue toJson() const;
    static SkillBar fromJson(const QJsonValue &value);

    friend bool operator==(const SkillBar &, const SkillBar &) = default;

private:
    static bool isSlot(int index) { return index >= 0 && index < capacity; }

    Slots m_slots{};
};

// Fixed sizes of the skill bar, in points, and the keys' cooldown in seconds.
struct SkillLayout {
    static constexpr double slot = 28;
    static constexpr double spacing = 8;
    static constexpr double inset = 10;
    static constexpr double rowHeight = 44;
    static constexpr double rowWidth = 6 * slot + 5 * spacing + 2 * inset;
    static constexpr double wingWidth = 3 * slot + 2 * spacing + 2 * inset;
    static constexpr double peekHeight = 38;
    static constexpr double cooldown = 0.8;
};

// The room the panel geometry leaves for the skill bar.
struct SkillChrome {
    SkillPlacement placement = SkillPlacement::hidden;
    bool peeking = false;

    static const SkillChrome none;

    friend bool operator==(const SkillChrome &, const SkillChrome &) = default;
};

inline constexpr SkillChrome SkillChrome::none{SkillPlacement::hidden, false};

// The top player's hover delays, in seconds.
struct HoverPolicy {
    static constexpr double openDelay = 0.2;
    static constexpr double closeDelay = 0.6;
    static constexpr double peekOpenDelay = 0.9;

    // Nothing means the player takes no timed action (entering the peek strip's keys).
    static std::optional<double> delay(bool entering, SkillPlacement placement, bool overSkills);
};
