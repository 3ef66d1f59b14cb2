#pragma once

#include "RawEnum.h"

#include <QPainterPath>
#include <QRectF>
#include <span>
#include <vector>

// The program's own icons: 30 glyphs, each a few filled layers drawn from path
// programs on a 24 x 24 grid (origin top-left, y downwards).
enum class OrvelGlyph {
    add,
    bolt,
    close,
    coffee,
    disc,
    external,
    flame,
    headphones,
    heart,
    leaf,
    list,
    loop,
    mark,
    mic,
    moon,
    mute,
    next,
    note,
    pause,
    pin,
    play,
    previous,
    radio,
    run,
    settings,
    shuffle,
    sparkle,
    star,
    sun,
    volume,
};

template<>
struct RawEnumCases<OrvelGlyph> {
    using G = OrvelGlyph;
    static constexpr std::array<std::pair<G, std::string_view>, 30> cases{{
        {G::add, "add"},
        {G::bolt, "bolt"},
        {G::close, "close"},
        {G::coffee, "coffee"},
        {G::disc, "disc"},
        {G::external, "external"},
        {G::flame, "flame"},
        {G::headphones, "headphones"},
        {G::heart, "heart"},
        {G::leaf, "leaf"},
        {G::list, "list"},
        {G::loop, "loop"},
        {G::mark, "mark"},
        {G::mic, "mic"},
        {G::moon, "moon"},
        {G::mute, "mute"},
        {G::next, "next"},
        {G::note, "note"},
        {G::pause, "pause"},
        {G::pin, "pin"},
        {G::play, "play"},
        {G::previous, "previous"},
        {G::radio, "radio"},
        {G::run, "run"},
        {G::settings, "settings"},
        {G::shuffle, "shuffle"},
        {G::sparkle, "sparkle"},
        {G::star, "star"},
        {G::sun, "sun"},
        {G::volume, "volume"},
    }};
};

// One filled layer: its fill rule and its path program.
struct GlyphLayer {
    bool evenOdd = false;
    std::span<const double> ops;
};

// The glyph's layers in drawing order; the programs are constant data.
std::vector<GlyphLayer> layers(OrvelGlyph glyph);

// A layer fitted to a rectangle: the grid becomes the square of the shorter
// side, centred in the rectangle.
struct GlyphLayerShape {
    GlyphLayer layer;

    QPainterPath path(const QRectF &rect) const;

    // Numbers an operation code uses, itself included.
    static int operandCount(double code);
};
