// The in-context reading step, through the module's request path: the kana
// it says for everyday lines (hand-checked), tags that pass untouched, and a
// damaged dictionary folder that costs one warning and nothing else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <fstream>
#include <sstream>

#include "module_adapter.h"
#include "reading_test.h"
#include "reading/text_reader.h"
#include "tools/text/shift_jis.h"

namespace fs = std::filesystem;

namespace {

using namespace reading_test;

std::string reading_of(const char* utf8) {
    return result_of(
        module_adapter::answer("GET Reading SAORI/1.0\r\nCharset: Shift_JIS\r\nArgument0: " + sjis(utf8) + "\r\n\r\n"));
}

// The module loads a folder whose settings turn the reading step on (the
// dictionary named relative to the module directory), and is unloaded at the
// end.
class ContextReading : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kDictionary / "checksums")) << "build the target vokari_reading_dictionary first";
    }
    void TearDown() override { module_adapter::unload_module(); }
    void load_reading() {
        reading_.emplace("voice.reading.dic,naist-jdic\n");
        ASSERT_TRUE(module_adapter::load_module(reading_->dir.string()));
    }
    std::optional<Folder> reading_;
};

TEST_F(ContextReading, EverydayLinesReadInContext) {
    load_reading();
    const std::pair<const char*, const char*> lines[] = {
        {"こんにちは、今日は晴れ。", "こ ん に ち わ きょ お わ は れ"},  // particles after kana and kanji
        {"東京へ行った", "と お きょ お え い っ た"},
        {"1,800円と100%", "せ ん は っ ぴゃ く え ん と ひゃ く ぱ あ せ ん と"},
        {"20日の3時10分", "は つ か の さ ん じ じゅ っ ぷ ん"},
        {"4人で3本", "よ に ん で さ ん ぼ ん"},
        {"お腹が空いた。席が空いた。", "お な か が す い た せ き が あ い た"},  // the subject decides
        {"もう一度言って。笑って。", "も お い ち ど い っ て わ ら っ て"},       // a request ends in て
        {"ﾊﾞｽでｷﾞﾀｰ", "ば す で ぎ た あ"},  // half-width kana with their voicing marks
    };
    for (const auto& [line, kana] : lines) EXPECT_EQ(reading_of(line), sjis(kana)) << line;
    const std::string pitched = module_adapter::answer(
        "GET Reading SAORI/1.0\r\nCharset: Shift_JIS\r\nArgument0: " + sjis("雨") + "\r\nArgument1: pitch\r\n\r\n");
    EXPECT_NE(pitched.find("Result: " + sjis("あ") + ":"), std::string::npos) << pitched;
    EXPECT_NE(pitched.find(" " + sjis("め") + ":"), std::string::npos) << pitched;
}

// Readings the neighbours decide, each beside a line where they must not
// apply: a sign before a number, letters cut from a word before a particle,
// a verb or noun read by the words around it, laughter after text, the
// forms of する and of katakana names that the pruned dictionary must keep.
TEST_F(ContextReading, NeighboursDecideSignsLettersAndWords) {
    load_reading();
    const std::pair<const char*, const char*> lines[] = {
        {"￥1,500と$30", "せ ん ご ひゃ く え ん と さ ん じゅ う ど る"},
        {"−5度", "ま い な す ご ど"},
        {"3-1", "さ ん い ち"},  // after a digit a dash is no sign
        {"AIってすごいよね", "え い あ い っ て す ご い よ ね"},
        {"AIとIT", "え え あ い と あ い てぃ い"},
        {"雨が降りそうだから", "あ め が ふ り そ お だ か ら"},
        {"電車を降りそう", "で ん しゃ を お り そ お"},
        {"2つ目の角を右に", "ふ た つ め の か ど を み ぎ に"},
        {"三角形の角", "さ ん か っ け え の か く"},
        {"笑ったｗｗｗ", "わ ら っ た"},
        {"笑ったwin", "わ ら っ た うぃ ん"},  // a word, not laughter
        {"ｚｗ", "ずぃ い だ ぶ りゅ う"},     // after a letter, the last one, ｗ is a letter too
        {"計画を作成すべきだ", "け え か く を さ く せ え す べ き だ"},
        {"ノルウェーへ", "の る うぇ え え"},
        {"ノ", "の"},  // alone, the analyser files it as a sign
    };
    for (const auto& [line, kana] : lines) EXPECT_EQ(reading_of(line), sjis(kana)) << line;
}

// Every tag and its argument reach the scanner byte for byte, and nothing
// inside them is read: the control events equal those of the kana alone.
TEST_F(ContextReading, TagsPassUntouched) {
    load_reading();
    EXPECT_EQ(reading_of("\\0雨\\w9@s[120]@a[雨]\\_w[300]\\s[10]@wavout[音声.wav]雨@<"), sjis("あ め あ め"));
}

// The reading is what the voice says: nothing after "e", nothing at all with
// "n", but either inside another tag's argument ends nothing.
TEST_F(ContextReading, ReadingEndsWhereTheVoiceEnds) {
    load_reading();
    EXPECT_EQ(reading_of("雨@e雨"), sjis("あ め"));
    EXPECT_EQ(reading_of("雨@n雨"), "");
    EXPECT_EQ(reading_of("雨@a[@e@n]雨"), sjis("あ め あ め"));
}

// A line too long for one piece of analysis is cut at its last clause mark,
// full-width or ASCII, so a word that crosses the piece's end stays whole.
TEST_F(ContextReading, LongLinesAreCutAtClauseMarks) {
    load_reading();
    std::string clauses;
    for (int i = 0; i < 39; ++i) clauses += "雨が、";
    for (const std::string& before : {clauses + "雨、", clauses + "雨."}) {
        ASSERT_LE(sjis((before + "東").c_str()).size(), vokari::kReadingPieceBytes);
        ASSERT_GT(sjis((before + "東京").c_str()).size(), vokari::kReadingPieceBytes);
        EXPECT_EQ(reading_of((before + "東京").c_str()), reading_of(before.c_str()) + " " + sjis("と お きょ お"))
            << before.back();
    }
}

// What the step does not read reaches the scanner as the author wrote it: a
// half-width ~ is a pause there, its full-width form would hold the vowel.
TEST_F(ContextReading, UnreadSignsKeepTheAuthorsBytes) {
    const std::string request = "EXECUTE MAKOTO/2.0\r\nString: " + sjis("ね~ね、(*) *-*!ね｡") + "\r\n\r\n";
    Folder plain("");
    ASSERT_TRUE(module_adapter::load_module(plain.dir.string()));
    module_adapter::answer(request);
    const std::vector<std::string> unread = module_adapter::last_phoneme_events();
    module_adapter::unload_module();
    Folder folder("voice.reading.dic,naist-jdic\n");
    ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
    module_adapter::answer(request);
    EXPECT_EQ(module_adapter::last_phoneme_events(), unread);
}

// A byte the analyser cannot take ends the piece before it: the words on
// either side keep their places around it.
TEST_F(ContextReading, UnreadableByteStaysBetweenItsNeighbours) {
    vokari::TextReader reader;
    ASSERT_EQ(reader.open(kDictionary.string()), "");
    const std::string text = sjis("雨") + "\x7F" + sjis("雪");
    std::vector<vokari::ReadWord> words;
    reader.analyse(text.data(), text.size(), words);
    std::vector<std::string> surfaces;
    for (const vokari::ReadWord& word : words) surfaces.push_back(word.surface);
    EXPECT_EQ(surfaces, (std::vector<std::string>{sjis("雨"), "\x7F", sjis("雪")}));
    // A lead byte that ends the span stands alone: the byte after it is not the span's.
    const std::string span = sjis("雨") + "\x82" + "A";
    words.clear();
    reader.analyse(span.data(), span.size() - 1, words);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words.back().surface, "\x82");
}

// The list may name files the analyser never opens (here one that is not
// even there): only the files it opens are checked.
TEST_F(ContextReading, FilesTheAnalyserDoesNotOpenAreNotChecked) {
    Folder folder("voice.reading.dic,dic\n");
    fs::create_directory(folder.dir / "dic");
    for (const char* name : {"unk.dic", "matrix.bin", "char.bin", "dicrc", "sys.dic"})
        fs::create_symlink(kDictionary / name, folder.dir / "dic" / name);
    std::ofstream(folder.dir / "dic" / "checksums", std::ios::binary)
        << read_bytes(kDictionary / "checksums") << "left-id.def 12 00000000000000ff\n";
    ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
    EXPECT_EQ(reading_of("雨"), sjis("あ め"));
}

// Missing, cut short or changed by one byte: one warning, speech as without
// the key, byte for byte.
TEST_F(ContextReading, DamagedDictionaryWarnsOnceAndReadsWithoutIt) {
    const std::string request = "EXECUTE MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: " + sjis("今日は雨") + "\r\n\r\n";
    Folder plain("");
    ASSERT_TRUE(module_adapter::load_module(plain.dir.string()));
    const std::string expected = module_adapter::answer(request);
    module_adapter::unload_module();

    for (const char* damage : {"missing", "short", "changed"}) {
        SCOPED_TRACE(damage);
        Folder folder("log,log.txt\nvoice.reading.dic,dic\n");
        fs::create_directory(folder.dir / "dic");
        for (const char* name : {"unk.dic", "matrix.bin", "char.bin", "dicrc", "checksums", "sys.dic"})
            fs::create_symlink(kDictionary / name, folder.dir / "dic" / name);
        const fs::path target = folder.dir / "dic" / (std::string(damage) == "missing" ? "sys.dic" : "unk.dic");
        std::string bytes = read_bytes(kDictionary / target.filename());
        fs::remove(target);
        if (std::string(damage) == "short") bytes.resize(bytes.size() - 1);
        if (std::string(damage) == "changed") bytes[bytes.size() / 2] ^= 1;
        if (std::string(damage) != "missing") std::ofstream(target, std::ios::binary) << bytes;

        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        EXPECT_EQ(module_adapter::answer(request), expected);
        module_adapter::unload_module();
        const std::string log = read_bytes(folder.dir / "log.txt");
        std::size_t warnings = 0;
        for (std::size_t at = log.find("WARNING : voice.reading.dic"); at != std::string::npos;
             at = log.find("WARNING : voice.reading.dic", at + 1))
            ++warnings;
        EXPECT_EQ(warnings, 1u) << log;
    }
}

}  // namespace
