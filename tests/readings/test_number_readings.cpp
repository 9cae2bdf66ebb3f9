// Numbers as the bundled voice's general dictionary has them said: each
// place on both sides of its boundary, the sound changes of the counters,
// full-width digits, and a tag's digit right before a counter, which stays.
#include <gtest/gtest.h>

#include "module_adapter.h"
#include "tools/readings/japanese_text.h"
#include "tools/text/shift_jis.h"

namespace {

TEST(NumberReadings, PlacesCountersAndTagDigits) {
    ASSERT_TRUE(module_adapter::load_general_dictionary());
    // Written, and the spoken text: the first digit stays as a moment of silence.
    const char* const cases[][2] = {
        {"9時", "9くじ"},
        {"10時", "1じゅうじ"},
        {"99分", "9きゅうじゅうきゅうふん"},
        {"100分", "1ひゃっぷん"},
        {"999円", "9きゅうひゃくきゅうじゅうきゅうえん"},
        {"1000円", "1せんえん"},
        {"9999円", "9きゅうせんきゅうひゃくきゅうじゅうきゅうえん"},
        {"10000円", "1いちまんえん"},
        {"99999円", "9きゅうまんきゅうせんきゅうひゃくきゅうじゅうきゅうえん"},
        {"3本と6本", "3さんぼんと6ろっぽん"},
        {"1人と21人", "1ひとりと2にじゅういちにん"},
        {"3時間", "3さんじかん"},
        {"１２時", "1じゅうにじ"},
        {"３００", "3さんびゃく"},
        {"\\w5時", "\\w5ごじ"},
        // A speaker tag before a counter is read as a number unless @: parts them.
        {"\\1時間", "\\1いちじかん"},
        {"\\1@:時間", "\\1@:じかん"},
    };
    for (const auto& c : cases) {
        const std::string written = vokari_text::utf8_to_shift_jis(c[0]).shift_jis;
        EXPECT_EQ(vokari_text::shift_jis_to_utf8(module_adapter::translate(written)).utf8, c[1]) << c[0];
    }
    module_adapter::unload_module();
}

}  // namespace
