// vokari-readings run on character scripts: the dictionary it writes makes
// the module read those scripts as MeCab reads them in context, and bad input
// is named and skipped without harm to an existing dictionary.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "module_adapter.h"
#include "reading_test.h"
#include "reading_score.h"
#include "tools/readings/japanese_text.h"
#include "tools/text/shift_jis.h"
#include "tools/readings/script_text.h"

namespace fs = std::filesystem;

namespace {

using namespace reading_test;

const std::string kSourceDir = VOKARI_SOURCE_DIR;

struct BuilderRun {
    int status = -1;
    std::string errors;
};

// Runs vokari-readings with `arguments`; its standard error is captured.
BuilderRun run_builder(const std::string& arguments, const fs::path& work) {
    const fs::path errors = work / "stderr.txt";
    const std::string command = std::string(VOKARI_READINGS_PROGRAM) + " " + arguments + " 2>" + errors.string();
    BuilderRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream file(errors);
    std::ostringstream text;
    text << file.rdbuf();
    run.errors = text.str();
    return run;
}

fs::path fresh_dir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("vokari_readings_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(OwnScripts, DictionaryFromScriptsReadsThemAsInContext) {
    const fs::path dir = fresh_dir("own");
    const fs::path scripts = kSourceDir + "/tests/readings/scripts";
    const BuilderRun run = run_builder("-o " + (dir / "own.dic").string() + " " + scripts.string(), dir);
    ASSERT_EQ(run.status, 0) << run.errors;
    std::ofstream(dir / "vokari.txt") << "voice.translate.dic,own.dic\n";

    std::vector<std::string> lines;
    for (const char* name : {"morning.txt", "evening.txt"}) {
        std::string text, error;
        ASSERT_TRUE(vokari::readings::decode_script(read_bytes(scripts / name), text, error)) << error;
        std::istringstream stream(text);
        for (std::string line; std::getline(stream, line);) lines.push_back(line);
    }
    std::string error;
    auto morphology = vokari::readings::Morphology::open(vokari::readings::default_dictionary_dir(), error);
    ASSERT_NE(morphology, nullptr) << error;
    ASSERT_TRUE(module_adapter::load_module(dir.string()));
    // How the numbers of the scripts are said (MeCab leaves digits unread),
    // in katakana so that MeCab takes each for one word.
    const std::map<std::string, std::string> numbers = {
        {"7時", "シチジ"},           {"30分", "サンジュップン"}, {"8時", "ハチジ"},        {"3時間", "サンジカン"},
        {"500円", "ゴヒャクエン"},   {"200円", "ニヒャクエン"},  {"12月", "ジュウニガツ"}, {"24日", "ニジュウヨッカ"},
        {"10分", "ジュップン"},      {"２５度", "ニジュウゴド"}, {"６時半", "ロクジハン"}, {"1個", "イッコ"},
        {"300円", "サンビャクエン"}, {"3冊", "サンサツ"},        {"5月", "ゴガツ"},        {"5日", "イツカ"}};
    const reading_score::Score without = reading_score::score_lines(*morphology, lines, false, numbers);
    const reading_score::Score with = reading_score::score_lines(*morphology, lines, true, numbers);
    module_adapter::unload_module();
    std::printf(
        "own scripts: %ld lines, %ld reference kana; differing: %.2f %% without, %.2f %% with their dictionary\n",
        with.lines, with.reference, 100 * without.share(), 100 * with.share());
    EXPECT_GT(without.share(), 0.2);
    EXPECT_LE(with.share(), 0.01);
    fs::remove_all(dir);
}

// A UTF-8 mark would otherwise start the first word analysed, and a tag's
// argument would be read as words.
TEST(OwnScripts, ScriptsAreDecodedWithoutMarkAndSplitAtTags) {
    EXPECT_EQ(vokari::readings::spoken_segments("a\\w9b\\_w[500]c\\s[10]d@s[120]e\\1f", '@'),
              (std::vector<std::string>{"a", "b", "c", "de", "f"}));
    std::string text, error;
    ASSERT_TRUE(vokari::readings::decode_script("\xEF\xBB\xBF\xE4\xBB\x8A", text, error)) << error;
    EXPECT_EQ(text, "\xE4\xBB\x8A");
    ASSERT_TRUE(vokari::readings::decode_script("\x8D\xA1", text, error)) << error;
    EXPECT_EQ(text, "\xE4\xBB\x8A");
}

TEST(OwnScripts, BadInputIsNamedAndNothingIsOverwritten) {
    const fs::path dir = fresh_dir("bad");
    fs::create_directories(dir / "in");
    std::ofstream(dir / "in" / "a_good.txt") << "\xEF\xBB\xBF\xE4\xBB\x8A\xE6\x97\xA5\xE3\x81\xAF\n";  // UTF-8, marked
    std::ofstream(dir / "in" / "b_bad.txt", std::ios::binary) << "ok\xA0\x81";                         // neither
    const std::string output = (dir / "out.dic").string();

    BuilderRun run = run_builder("-o " + output + " " + (dir / "in").string(), dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("b_bad.txt"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("byte 2"), std::string::npos) << run.errors;
    const std::string written = read_bytes(output);
    EXPECT_NE(written.find("\x8D\xA1\x93\xFA\x82\xCD,\x82\xAB\x82\xE5\x82\xA4\x82\xED\r\n"), std::string::npos);

    run = run_builder("-o " + output + " " + (dir / "in" / "a_good.txt").string(), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("--force"), std::string::npos);
    EXPECT_EQ(read_bytes(output), written);
    EXPECT_EQ(run_builder("--force -o " + output + " " + (dir / "in" / "a_good.txt").string(), dir).status, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              3);  // in, out.dic, stderr: no temporary left

    // --min-count takes 1 to 1,000,000.
    const std::string input = " " + (dir / "in" / "a_good.txt").string();
    // A name the system refuses fails with its reason, not as written.
    run = run_builder("--force -o " + (dir / std::string(300, 'x')).string() + input, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("cannot write " + (dir / std::string(300, 'x')).string() + ": File name too long"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run_builder("--min-count 0 --force -o " + output + input, dir).status, 1);
    EXPECT_EQ(run_builder("--min-count 1 --force -o " + output + input, dir).status, 0);
    EXPECT_EQ(run_builder("--tag-prefix % --force -o " + output + input, dir).status, 0);
    EXPECT_EQ(run_builder("--tag-prefix %% --force -o " + output + input, dir).status, 1);
    EXPECT_EQ(run_builder("--min-count 1000000 --force -o " + output + input, dir).status, 0);
    EXPECT_EQ(run_builder("--min-count 1000001 --force -o " + output + input, dir).status, 1);

    run = run_builder(
        "--mecab-dic " + (dir / "none").string() + " -o " + (dir / "x.dic").string() + " " + (dir / "in").string(),
        dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("mecab-ipadic-utf8"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir / "x.dic"));
    // A folder that only looks like a dictionary: MeCab's own reason is passed on.
    fs::create_directories(dir / "broken");
    std::ofstream(dir / "broken" / "sys.dic") << "x";
    run = run_builder(
        "--mecab-dic " + (dir / "broken").string() + " -o " + (dir / "x.dic").string() + " " + (dir / "in").string(),
        dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find((dir / "broken" / "dicrc").string()), std::string::npos) << run.errors;
    fs::remove_all(dir);
}

// The guide's layout: the module's files lie beside the scripts in
// ghost/master.  Only the scripts are read, the rest is summed up in one
// line, and a folder without script text gets no dictionary.
TEST(OwnScripts, CharacterFolderReadsScriptsOnly) {
    const fs::path dir = fresh_dir("master");
    const fs::path master = dir / "ghost" / "master";
    fs::create_directories(master / "vokariv0");
    fs::create_directories(master / "examples");
    std::ofstream(master / "vokari.dll", std::ios::binary) << "MZ\x90\xFF\xFE";
    std::ofstream(master / "vokari.txt") << "voice.translate.dic,mine.dic\nvoice.translate.dic,reading.dic\n";
    std::ofstream(master / "reading.dic", std::ios::binary) << "\x8D\xA1\x93\xFA,\x82\xA0\r\n";  // 今日,あ
    std::ofstream(master / "READING-LICENSE.txt") << "licence\n";
    std::ofstream(master / "guide.md") << "# guide\n";
    std::ofstream(master / "examples" / "script-tags.txt") << "\xE7\x8C\xAB\n";  // 猫
    std::ofstream(master / "vokariv0" / "a.wav", std::ios::binary) << "RIFF\xFF\xFE";
    std::ofstream(master / "chime.wav", std::ios::binary) << "RIFF\xFF\xFE";
    std::ofstream(master / "surface.dat", std::ios::binary) << "\xFF\xFE\xFD";  // host data
    fs::copy_file(kSourceDir + "/tests/readings/scripts/morning.txt", master / "aitalk.dic");

    const std::string output = (master / "mine.dic").string();
    for (const char* round : {"first", "again"}) {
        const BuilderRun run =
            run_builder(std::string(round) == "again" ? "--force -o " + output + " " + master.string()
                                                      : "-o " + output + " " + master.string(),
                        dir);
        ASSERT_EQ(run.status, 0) << round << ": " << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 2) << round << ": " << run.errors;
        EXPECT_NE(run.errors.find("not read as scripts: "), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(", 2 voice and example folders, "), std::string::npos) << run.errors;
        const std::string written = read_bytes(output);
        EXPECT_NE(written.find("From 1 script files"), std::string::npos) << written;
        EXPECT_EQ(written.find("\x94\x4C"), std::string::npos);  // 猫 of the guide's examples
    }

    // A folder nobody may write into (root included) is named as given.
    const BuilderRun unwritable = run_builder("-o /sys/mine.dic " + master.string(), dir);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.errors.find("cannot write /sys/mine.dic: Permission denied"), std::string::npos)
        << unwritable.errors;
    EXPECT_EQ(unwritable.errors.find(".tmp"), std::string::npos) << unwritable.errors;

    fs::remove(master / "aitalk.dic");
    fs::remove(output);
    const BuilderRun run = run_builder("-o " + output + " " + master.string(), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("no script text found in " + master.string()), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(output));
    fs::remove_all(dir);
}

// The guide's example: a character's own corrected readings in front of the
// general dictionary win over it.
TEST(OwnScripts, HandCorrectionsInFrontOfTheGeneralDictionaryWin) {
    const fs::path dir = fresh_dir("guide");
    const fs::path examples = kSourceDir + "/docs/examples/readings";
    for (const char* name : {"vokari.txt", "mine.dic"})
        std::ofstream(dir / name, std::ios::binary) << sjis(read_bytes(examples / name));
    fs::copy_file(kSourceDir + "/voices/default/reading.dic", dir / "reading.dic");
    const auto said = [&](const char* utf8) {
        return module_adapter::voiced_units(module_adapter::translate(sjis(utf8)));
    };
    const auto kana = [&](const char* utf8) {
        return module_adapter::voiced_units(module_adapter::translate_builtin(sjis(utf8)));
    };

    ASSERT_TRUE(module_adapter::load_module(dir.string()));
    EXPECT_EQ(said("春香は二人で来た"), kana("はるかわふたりできた"));
    module_adapter::unload_module();
    std::ofstream(dir / "vokari.txt") << "voice.translate.dic,reading.dic\n";
    ASSERT_TRUE(module_adapter::load_module(dir.string()));
    EXPECT_NE(said("春香は"), kana("はるかわ"));  // the general dictionary alone reads it otherwise
    module_adapter::unload_module();
    fs::remove_all(dir);
}

// --general makes a general dictionary: marked so on its first line, and
// without the forms its texts show only once.
TEST(OwnScripts, GeneralDictionaryIsMarkedAndLeavesOutFormsSeenOnce) {
    const fs::path dir = fresh_dir("general");
    std::ofstream(dir / "once.txt") << "\xE4\xBB\x8A\xE6\x97\xA5\xE3\x81\xAF\n";  // 今日は
    const std::string output = (dir / "general.dic").string();
    const BuilderRun run = run_builder("--general -o " + output + " " + (dir / "once.txt").string(), dir);
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string written = read_bytes(output);
    EXPECT_EQ(written.rfind("// Reading dictionary written by vokari-readings (general).\r\n", 0), 0u) << written;
    EXPECT_EQ(written.find("\x8D\xA1\x93\xFA"), std::string::npos);  // 今日
    fs::remove_all(dir);
}

// An option refused for its value says why.
TEST(OwnScripts, RefusedOptionValuesAreNamed) {
    const fs::path dir = fresh_dir("usage");
    for (const auto& [option, message] :
         {std::pair{"--tag-prefix %%", "--tag-prefix takes one byte, not \"%%\""},
          std::pair{"--min-count 0", "--min-count takes a whole number from 1 to 1000000, not \"0\""}}) {
        const BuilderRun run = run_builder(std::string(option) + " -o " + (dir / "x.dic").string() + " in.txt", dir);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find(message), std::string::npos) << run.errors;
    }
    fs::remove_all(dir);
}

}  // namespace
