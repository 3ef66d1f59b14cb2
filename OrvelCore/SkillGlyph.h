#pragma once

#include "RawEnum.h"
#include "SpotifyLink.h"

// The glyphs a shortcut can show on the skill bar, the panels and the widgets.
enum class SkillGlyph {
    note,
    disc,
    list,
    mic,
    radio,
    heart,
    star,
    bolt,
    flame,
    moon,
    sun,
    leaf,
    headphones,
    run,
    coffee,
    sparkle,
};

template<>
struct RawEnumCases<SkillGlyph> {
    using G = SkillGlyph;
    static constexpr std::array<std::pair<G, std::string_view>, 16> cases{{
        {G::note, "note"},
        {G::disc, "disc"},
        {G::list, "list"},
        {G::mic, "mic"},
        {G::radio, "radio"},
        {G::heart, "heart"},
        {G::star, "star"},
        {G::bolt, "bolt"},
        {G::flame, "flame"},
        {G::moon, "moon"},
        {G::sun, "sun"},
        {G::leaf, "leaf"},
        {G::headphones, "headphones"},
        {G::run, "run"},
        {G::coffee, "coffee"},
        {G::sparkle, "sparkle"},
    }};
};

// The glyph of a shortcut that has none of its own.
constexpr SkillGlyph standardSkillGlyph(SpotifyLink::Kind kind)
{
    switch (kind) {
    case SpotifyLink::Kind::track:
        return SkillGlyph::note;
    case SpotifyLink::Kind::album:
        return SkillGlyph::disc;
    case SpotifyLink::Kind::playlist:
        return SkillGlyph::list;
    case SpotifyLink::Kind::artist:
        return SkillGlyph::mic;
    }
    return SkillGlyph::note;
}
