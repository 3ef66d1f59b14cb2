#include "DisplayScope.h"
#include "MusicShortcut.h"
#include "SkillBar.h"
#include "Skin.h"
#include "SpotifyOEmbed.h"
#include "VisualizerSettings.h"

#include <QRandomGenerator>
#include <QSet>
#include <gtest/gtest.h>

namespace {
// Random edits of valid documents: truncations, deletions, insertions of JSON
// punctuation and of bytes that are not UTF-8.
QByteArray mutate(QByteArray data, QRandomGenerator &rng)
{
    static const QByteArray alphabet = QByteArrayLiteral("{}[]\":,\\ 0-e.nulltrue\xff\xc3\x80");
    const int edits = 1 + int(rng.bounded(5));
    for (int e = 0; e < edits && !data.isEmpty(); ++e) {
        const int at = int(rng.bounded(data.size()));
        switch (rng.bounded(4)) {
        case 0:
            data.truncate(at);
            break;
        case 1:
            data.remove(at, 1 + int(rng.bounded(4)));
            break;
        case 2:
            data.insert(at, alphabet.at(int(rng.bounded(alphabet.size()))));
            break;
        default:
            data[at] = char(rng.bounded(256));
            break;
        }
    }
    return data;
}

void feedEveryDecoder(const QByteArray &data)
{
    for (const MusicShortcut &shortcut : ShortcutList::decode(data)) {
        EXPECT_TRUE(SpotifyLink::isValidId(shortcut.link.id()));
        EXPECT_EQ(ShortcutList::decode(ShortcutList::encode({shortcut})), QList{shortcut});
    }
    json::decodeData<MusicShortcut>(data);
    if (const auto bar = json::decodeData<SkillBar>(data)) {
        QSet<QUuid> seen;
        for (const auto &id : bar->slotIds()) {
            if (id) {
                EXPECT_FALSE(seen.contains(*id));
                seen.insert(*id);
            }
        }
    }
    if (const auto settings = json::decodeData<VisualizerSettings>(data)) {
        EXPECT_GE(settings->safeIntensity(), 0.15);
        EXPECT_LE(settings->safeSpeed(), 1.8);
        EXPECT_EQ(settings->safeHex().size(), 6);
    }
    if (const auto title = SpotifyOEmbed::title(data)) {
        EXPECT_FALSE(title->isEmpty());
    }
    skinFromFileData(data);
    try {
        json::decodeRawEnum<DisplayScope>(json::parse(data));
        json::decodeRawEnum<Skin>(json::parse(data));
    } catch (const json::DecodingError &) {
    }
}
} // namespace

TEST(StoredForms, MutatedDocumentsNeverCrashTheDecoders)
{
    const QByteArray seeds[] = {
        R"([{"id":"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E","title":"Focus","link":{"kind":"playlist",)"
        R"("id":"37i9dQZF1DXcBWIGoYBM5M"},"glyph":"moon"},{"id":"6f1d2c3b-0a9e-4b8c-9d7e-1f2a3b4c5d6f",)"
        R"("title":"Run","link":{"kind":"track","id":"4uLU6hMCjMI75M1A2tKUQC"}}])",
        R"({"slots":["6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E",null,"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E",null]})",
        R"({"enabled":true,"style":"wave","palette":"custom","customHex":"a1b2c3","intensity":0.7,)"
        R"("speed":1.2,"glow":false})",
        R"({"title":"  Late night \u00e9 \ud83c\udfb5 ","author_name":"Spotify","html":"<iframe/>"})",
        R"("selected")",
        "rivista\n",
    };
    QRandomGenerator rng(20261208);
    for (int round = 0; round < 4000; ++round) {
        const QByteArray &seed = seeds[round % std::size(seeds)];
        feedEveryDecoder(mutate(seed, rng));
    }
    for (int round = 0; round < 500; ++round) {
        QByteArray noise(int(rng.bounded(64)), Qt::Uninitialized);
        for (char &byte : noise)
            byte = char(rng.bounded(256));
        feedEveryDecoder(noise);
    }
}
