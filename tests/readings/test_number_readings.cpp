// Numbers as the bundled voice's general dictionary has them said: each
// place on both sides of its boundary, the sound changes of the counters,
// full-width digits, and a tag's digit right before a counter, which stays.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "module_adapter.h"
#include "tools/readings/japanese_text.h"
#include "tools/readings/number_pairs.h"
#include "tools/text/shift_jis.h"

namespace {

// Written, and the spoken text: the first digit stays as a moment of silence.
const char* const kCases[][2] = {
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
    {"10歳と100歳", "1じゅっさいと1ひゃくさい"},
    {"1人と21人", "1ひとりと2にじゅういちにん"},
    {"3時間", "3さんじかん"},
    {"2日と12日", "2ふつかと1じゅうににち"},
    {"6日間と7日目", "6むいかかんと7なのかめ"},
    {"１２時", "1じゅうにじ"},
    {"３００", "3さんびゃく"},
    {"\\w5時", "\\w5ごじ"},
    // A speaker tag before a counter is read as a number unless @: parts them.
    {"\\1時間", "\\1いちじかん"},
    {"\\1@:時間", "\\1@:じかん"},
};

void expect_numbers_read(std::size_t cases) {
    for (std::size_t i = 0; i < cases; ++i) {
        const auto& c = kCases[i];
        const std::string written = vokari::text::utf8_to_shift_jis(c[0]).shift_jis;
        EXPECT_EQ(vokari::text::shift_jis_to_utf8(module_adapter::translate(written)).utf8, c[1]) << c[0];
    }
}

TEST(NumberReadings, PlacesCountersAndTagDigits) {
    ASSERT_TRUE(module_adapter::load_general_dictionary());
    expect_numbers_read(std::size(kCases));
    module_adapter::unload_module();
}

// The days are one set of readings: a day count (日間) and a day's place (日目)
// say every single digit as the date (日) does, the 1st (ついたち) aside.
TEST(NumberReadings, DayCountersShareTheirDigitReadings) {
    const std::vector<vokari::readings::Pair> pairs = vokari::readings::number_pairs({"日", "日間", "日目"}, false);
    const auto reading = [&pairs](const std::string& search) {
        for (const vokari::readings::Pair& pair : pairs)
            if (pair.search == search) return pair.replacement;
        return std::string("(none)");
    };
    for (char digit = '1'; digit <= '9'; ++digit) {
        const std::string d(1, digit), date = reading(d + "日");
        EXPECT_EQ(reading(d + "日間"), (digit == '1' ? "1いちにち" : date) + "かん") << digit;
        EXPECT_EQ(reading(d + "日目"), (digit == '1' ? "1いちにち" : date) + "め") << digit;
    }
}

// The same readings from the number pairs the builder makes now, written as
// the builder writes them, so that a change to its rules shows before the
// bundled dictionary is made again.  (The last case needs a word pair.)
TEST(NumberReadings, TheBuildersPairsReadThemToo) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vokari_number_pairs_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "vokari.txt", std::ios::binary) << "voice.translate.dic,reading.dic\r\n";
    std::ofstream dictionary(dir / "reading.dic", std::ios::binary);
    for (const vokari::readings::Pair& pair :
         vokari::readings::number_pairs(vokari::readings::known_counters(), true)) {
        const auto search = vokari::text::utf8_to_shift_jis(pair.search);
        const auto replacement = vokari::text::utf8_to_shift_jis(pair.replacement);
        ASSERT_TRUE(search.ok && replacement.ok) << pair.search;
        dictionary << search.shift_jis << "," << replacement.shift_jis << "\r\n";
    }
    dictionary.close();
    ASSERT_TRUE(module_adapter::load_module(dir.string()));
    expect_numbers_read(std::size(kCases) - 1);
    module_adapter::unload_module();
    fs::remove_all(dir);
}

}  // namespace
