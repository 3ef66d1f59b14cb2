#pragma once

#include "SkillGlyph.h"
#include "SpotifyLink.h"

#include <QByteArray>
#include <QList>
#include <QUuid>
#include <optional>

// A user's favourite Spotify item. The skill bar refers to it by id.
struct MusicShortcut {
    QUuid id;
    QString title;
    SpotifyLink link;
    std::optional<SkillGlyph> glyph;

    // Trims white space and line breaks around the title; decoding keeps the stored title as it is.
    MusicShortcut(const QUuid &id, const QString &title, const SpotifyLink &link,
        std::optional<SkillGlyph> glyph = std::nullopt);

    SkillGlyph resolvedGlyph() const { return glyph.value_or(standardSkillGlyph(link.kind())); }

    QJsonValue toJson() const;
    // An unknown or missing glyph gives a shortcut without glyph; a bad id, title or link throws.
    static MusicShortcut fromJson(const QJsonValue &value);

    friend bool operator==(const MusicShortcut &, const MusicShortcut &) = default;
};

// The stored list of shortcuts ("shortcuts.json": a JSON array in the user's order).
struct ShortcutList {
    ShortcutList() = delete;

    // Never fails: elements that do not decode are dropped, a document that is
    // not a JSON array gives the empty list.
    static QList<MusicShortcut> decode(const QByteArray &data);
    static QByteArray encode(const QList<MusicShortcut> &shortcuts);

    // The list with the shortcut `id` moved by `offset` places; unchanged when
    // the id is unknown or the target lies outside the list.
    static QList<MusicShortcut> moving(QList<MusicShortcut> shortcuts, const QUuid &id, qsizetype offset);
};
