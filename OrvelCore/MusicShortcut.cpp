#include "MusicShortcut.h"

#include "Uuid.h"

MusicShortcut::MusicShortcut(
    const QUuid &id_, const QString &title_, const SpotifyLink &link_, std::optional<SkillGlyph> glyph_)
    : id(id_)
    , title(title_.trimmed())
    , link(link_)
    , glyph(glyph_)
{
}

QJsonValue MusicShortcut::toJson() const
{
    QJsonObject o{
        {QStringLiteral("id"), uuidString(id)},
        {QStringLiteral("title"), title},
        {QStringLiteral("link"), link.toJson()},
    };
    if (glyph)
        o.insert(QStringLiteral("glyph"), toRawValue(*glyph));
    return o;
}

MusicShortcut MusicShortcut::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    const QUuid id = json::uuid(o, QStringLiteral("id"));
    const QString title = json::string(o, QStringLiteral("title"));
    const SpotifyLink link = json::decode<SpotifyLink>(o, QStringLiteral("link"));
    // The glyph is decoration: a value we do not know must not cost the user the shortcut.
    std::optional<SkillGlyph> glyph;
    if (const QJsonValue raw = o.value(QStringLiteral("glyph")); raw.isString())
        glyph = fromRawValue<SkillGlyph>(raw.toString());
    MusicShortcut shortcut(id, QString(), link, glyph);
    shortcut.title = title;
    return shortcut;
}

QList<MusicShortcut> ShortcutList::decode(const QByteArray &data)
{
    QList<MusicShortcut> shortcuts;
    QJsonValue document;
    try {
        document = json::parse(data);
    } catch (const json::DecodingError &) {
        return shortcuts;
    }
    if (!document.isArray())
        return shortcuts;
    const QJsonArray elements = document.toArray();
    for (const QJsonValue &element : elements) {
        try {
            shortcuts.append(MusicShortcut::fromJson(element));
        } catch (const json::DecodingError &) {
            // A bad element is dropped; the others stay.
        }
    }
    return shortcuts;
}

QByteArray ShortcutList::encode(const QList<MusicShortcut> &shortcuts)
{
    QJsonArray elements;
    for (const MusicShortcut &shortcut : shortcuts)
        elements.append(shortcut.toJson());
    return json::serialize(elements);
}

QList<MusicShortcut> ShortcutList::moving(QList<MusicShortcut> shortcuts, const QUuid &id, qsizetype offset)
{
    qsizetype from = -1;
    for (qsizetype i = 0; i < shortcuts.size(); ++i) {
        if (shortcuts.at(i).id == id) {
            from = i;
            break;
        }
    }
    if (from < 0)
        return shortcuts;
    // Compare against the room on each side so that huge offsets cannot overflow.
    if (offset < -from || offset >= shortcuts.size() - from)
        return shortcuts;
    shortcuts.move(from, from + offset);
    return shortcuts;
}
