#pragma once

#include "RawEnum.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The visual theme of every surface and widget.
enum class Skin {
    rivista,
    classico,
};

template<>
struct RawEnumCases<Skin> {
    static constexpr std::array<std::pair<Skin, std::string_view>, 2> cases{
        {{Skin::rivista, "rivista"}, {Skin::classico, "classico"}}};
};

// The skin of a fresh installation and of every value that cannot be read.
inline constexpr Skin standardSkin = Skin::classico;

// Lenient read of a stored raw value: exactly "rivista" is rivista, anything else classico.
Skin skinFromStoredValue(const std::optional<QString> &value);

// "skin.txt": the raw value in UTF-8 with nothing around it. The reader trims
// white space and line breaks and falls back to classico, also for text that is not UTF-8.
QByteArray skinFileData(Skin skin);
Skin skinFromFileData(const QByteArray &data);
