#include "DisplayScope.h"
#include "MusicShortcut.h"
#include "SkillBar.h"
#include "Skin.h"
#include "SpotifyOEmbed.h"
#include "VisualizerSettings.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
void feedEveryDecoder(const QByteArray &data)
{
    for (const MusicShortcut &shortcut : ShortcutList::decode(data))
        EXPECT_EQ(ShortcutList::decode(ShortcutList::encode({shortcut})), QList{shortcut});
    json::decodeData<MusicShortcut>(data);
    if (const auto bar = json::decodeData<SkillBar>(data)) {
        EXPECT_EQ(SkillBar(QList(bar->slotIds().begin(), bar->slotIds().end())), *bar); // already normalised
    }
    json::decodeData<VisualizerSettings>(data);
    SpotifyOEmbed::title(data);
    skinFromFileData(data);
    try {
        json::decodeRawEnum<DisplayScope>(json::parse(data));
    } catch (const json::DecodingError &) {
    }
}
} // namespace

// Truncated, cut, extended and bit-flipped documents, including bytes that are not UTF-8.
TEST(StoredForms, MutatedDocumentsNeverCrashTheDecoders)
{
    const QByteArray seeds[] = {
        R"([{"id":"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E","title":"Focus","link":{"kind":"playlist",)"
        R"("id":"37i9dQZF1DXcBWIGoYBM5M"},"glyph":"moon"}])",
        R"({"slots":["6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E",null,"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E"]})",
        R"({"enabled":true,"style":"wave","palette":"custom","customHex":"a1b2c3","intensity":0.7,)"
        R"("speed":1.2,"glow":false})",
        R"({"title":"  Late night \u00e9 \ud83c\udfb5 ","html":"<iframe/>"})",
        "\"selected\"",
    };
    const QByteArray alphabet = QByteArrayLiteral("{}[]\":,\\ 0-e.null\xff\xc3");
    QRandomGenerator rng(20261208);
    for (int round = 0; round < 4000; ++round) {
        QByteArray data = seeds[round % std::size(seeds)];
        for (int edits = 1 + int(rng.bounded(5)); edits > 0 && !data.isEmpty(); --edits) {
            const int at = int(rng.bounded(data.size()));
            const int what = int(rng.bounded(4));
            if (what == 0)
                data.truncate(at);
            else if (what == 1)
                data.remove(at, 1 + int(rng.bounded(4)));
            else if (what == 2)
                data.insert(at, alphabet.at(int(rng.bounded(alphabet.size()))));
            else
                data[at] = char(rng.bounded(256));
        }
        feedEveryDecoder(data);
    }
}
