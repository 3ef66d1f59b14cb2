#pragma once

// The room the panel geometry leaves for the skill bar. Only the part of the
// skill bar model that the geometry reads; it moves to the skill bar's own
// header once that exists.

enum class SkillPlacement { hidden, row, wings, peek };

struct SkillChrome {
    SkillPlacement placement = SkillPlacement::hidden;
    // The collapsed player is peeking: its strip of keys is out.
    bool peeking = false;

    static const SkillChrome none;

    friend bool operator==(const SkillChrome &, const SkillChrome &) = default;
};

inline constexpr SkillChrome SkillChrome::none{SkillPlacement::hidden, false};
