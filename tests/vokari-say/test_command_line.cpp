// vokari-say run as a user runs it, against the stand-in module, which records
// exactly what the program hands over.
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

#include <regex>

#include "run_program.h"
#include "support/fixture_voice.h"
#include "tools/vokari-say/private_host.h"

namespace {

using say_test::run_say;
using say_test::RunResult;

// "こんにちは、世界ｶﾀｶﾅ" in UTF-8 and in Shift_JIS.
const std::string kScriptUtf8 = "こんにちは、世界ｶﾀｶﾅ";
const std::string kScriptCp932 = "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x41\x90\xA2\x8A\x45\xB6\xC0\xB6\xC5";

// The tag with which vokari-say asks the module for the sound it plays.
const std::string kSoundTag = "@wavout[vokari-say-out.wav]";

std::string makoto_request(const std::string& script) {
    return "EXECUTE MAKOTO/2.0\r\nSender: vokari-say\r\nSecurityLevel: Local\r\nCharset: Shift_JIS\r\nString: " +
           script + "\r\n\r\n";
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fixture::temp_directory("say-cli");
        module_dir_ = dir_ + "/module";
        records_ = dir_ + "/records";
        fixture::make_directory(module_dir_);
        fixture::make_directory(records_);
        // One sample makes the folder a voice folder.
        fixture::make_directory(module_dir_ + "/vokariv0");
        fixture::write_text(module_dir_ + "/vokariv0/0.wav", "");
        setenv("VOKARI_SAY_STUB_RECORDS", records_.c_str(), 1);
        setenv("VOKARI_SAY_PORTAUDIO", VOKARI_SAY_STUB_MODULE, 1);
    }
    void TearDown() override {
        unsetenv("VOKARI_SAY_STUB_RECORDS");
        unsetenv("VOKARI_SAY_PORTAUDIO");
        unsetenv("STUB_NO_SOUND_DEVICE");
        fixture::remove_tree(dir_);
    }

    // vokari-say with the stand-in module and `arguments` after the module options.
    RunResult say(std::vector<std::string> arguments, const std::string& input = "") {
        arguments.insert(arguments.begin(), {"--library", VOKARI_SAY_STUB_MODULE, "--module-dir", module_dir_});
        return run_say(arguments, input);
    }

    // What the stand-in recorded ("stub-calls.txt", "stub-request.bin").
    std::string record(const std::string& name) const {
        const std::vector<std::uint8_t> bytes = fixture::read_file(records_ + "/" + name);
        return std::string(bytes.begin(), bytes.end());
    }

    // Names of the files in the module directory besides the sample folder.
    std::vector<std::string> stray_files() const {
        std::vector<std::string> names;
        DIR* dir = opendir(module_dir_.c_str());
        while (dirent* entry = dir ? readdir(dir) : nullptr) {
            const std::string name = entry->d_name;
            if (name != "." && name != ".." && name != "vokariv0") names.push_back(name);
        }
        if (dir) closedir(dir);
        return names;
    }

    std::string dir_;
    std::string module_dir_;
    std::string records_;
};

TEST_F(CommandLine, SpeaksAnArgumentAsShiftJisAndPrintsTheReplyAsUtf8) {
    const RunResult r = say({"--no-wait", kScriptUtf8});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, kScriptUtf8 + "\n");
    EXPECT_EQ(record("stub-request.bin"), makoto_request(kSoundTag + kScriptCp932));
    // The module runs on a private copy, below a host tree of its own, and
    // never sees the module directory itself.
    const std::string calls = record("stub-calls.txt");
    const std::regex private_load("load \\\\.+\\\\ghost\\\\vokari-say\\\\ghost\\\\master\nunload\n");
    EXPECT_TRUE(std::regex_match(calls, private_load)) << calls;
    EXPECT_EQ(calls.find(module_dir_), std::string::npos) << calls;
}

TEST_F(CommandLine, SaoriSendsArgument0AndReadsResult) {
    const RunResult r = say({"--no-wait", "--saori", "あ"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "あ\n");
    EXPECT_EQ(record("stub-request.bin"),
              "EXECUTE SAORI/1.0\r\nSender: vokari-say\r\nSecurityLevel: Local\r\nCharset: Shift_JIS\r\n"
              "Argument0: " +
                  kSoundTag + "\x82\xA0\r\n\r\n");
}

TEST_F(CommandLine, ReadsStandardInputAndFilesWithLineBreaksAsTags) {
    const RunResult from_stdin = say({"--no-wait"},
                                     "\xEF\xBB\xBF"
                                     "一行目\r\n二行目\n\n");
    EXPECT_EQ(from_stdin.status, 0) << from_stdin.err;
    EXPECT_EQ(from_stdin.out, "一行目\\n二行目\n");
    EXPECT_EQ(record("stub-request.bin"),
              makoto_request(kSoundTag + "\x88\xEA\x8D\x73\x96\xDA\\n\x93\xF1\x8D\x73\x96\xDA"));

    fixture::write_text(dir_ + "/script.txt", kScriptUtf8 + "\n");
    const RunResult from_file = say({"--no-wait", "--file", dir_ + "/script.txt"});
    EXPECT_EQ(from_file.status, 0) << from_file.err;
    EXPECT_EQ(record("stub-request.bin"), makoto_request(kSoundTag + kScriptCp932));
}

TEST_F(CommandLine, RefusesCharactersWithoutShiftJisFormBeforeLoading) {
    const RunResult r = say({"こんにちは😀"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("U+1F600"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(record("stub-calls.txt"), "");
}

TEST_F(CommandLine, SavesThePlayedSoundAndLeavesNothingInTheModuleDirectory) {
    const std::string out = dir_ + "/out.wav";
    const RunResult r = say({"--no-wait", "-o", out, "あ"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "あ\n");
    const std::vector<std::uint8_t> wav = fixture::read_file(out);
    ASSERT_EQ(wav.size(), 58u + 2205u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    const std::string request = record("stub-request.bin");
    EXPECT_NE(request.find("String: " + kSoundTag), std::string::npos) << request;
    EXPECT_EQ(stray_files(), std::vector<std::string>{});
}

TEST_F(CommandLine, NoPlayAsksForTheSilentSoundFileWithTheConfiguredPrefix) {
    fixture::write_text(module_dir_ + "/vokari.txt", "tag.prefix, !\n");
    const RunResult r = say({"--no-play", "あ"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(record("stub-request.bin").find("String: !wavouts[vokari-say-"), std::string::npos);
    EXPECT_EQ(stray_files(), std::vector<std::string>{"vokari.txt"});
}

// vokari-say hides its own sound-file tag from the voice's dictionaries behind
// a control byte that none of them uses; 0x1F is the last one it can take.
TEST_F(CommandLine, HidesItsTagBehindTheLastFreeControlByte) {
    std::string taken;
    for (char b = 0x01; b < 0x1F; ++b)
        if (b != '\t' && b != '\n' && b != '\r' && b != 0x1A) taken += b;
    fixture::write_text(module_dir_ + "/vokari.txt", "voice.translate.dic,own.dic\n");
    for (const std::string last : {"", "\x1F"}) {
        fixture::write_text(module_dir_ + "/own.dic", "x," + taken + last + "\n");
        const RunResult r = say({"--no-play", "あ"});
        EXPECT_EQ(r.status == 0, last.empty()) << r.err;
        EXPECT_EQ(r.err.find("use every byte") != std::string::npos, !last.empty()) << r.err;
    }
}

// A temporary folder too deep for the module's paths is refused and left empty.
TEST_F(CommandLine, RefusesATemporaryFolderTooDeepForTheModule) {
    std::string deep = dir_;
    while (deep.size() < 900) {
        deep += "/" + std::string(200, 'd');
        fixture::make_directory(deep);
    }
    setenv("TMPDIR", deep.c_str(), 1);
    const RunResult r = say({"--no-play", "あ"});
    unsetenv("TMPDIR");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("the temporary folder's path is too long for the module"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(deep));
}

// Where the module may write below its folder, the voice's folders are copied,
// down to eight levels: a loop of symbolic links ends there.
TEST(PrivateHost, CopiedFoldersEndEightLevelsDown) {
    const std::string voice = fixture::temp_directory("say-depth");
    fixture::make_directory(voice + "/effects");
    ASSERT_EQ(symlink(".", (voice + "/effects/again").c_str()), 0);
    vokari::say::PrivateHostPlan plan;
    plan.voice_dir = voice;
    plan.request_text = "@wavout[effects\\x.wav]";
    vokari::say::PrivateHost host;
    std::string error;
    ASSERT_TRUE(host.create(plan, error)) << error;
    std::string eighth = "effects";
    for (int level = 2; level <= 8; ++level) eighth += "/again";
    EXPECT_TRUE(std::filesystem::is_directory(host.module_file(eighth)));
    EXPECT_FALSE(std::filesystem::exists(host.module_file(eighth + "/again")));
    host.remove();
    fixture::remove_tree(voice);
}

TEST_F(CommandLine, WaitsForTheSoundBeforeUnloading) {
    const auto start = std::chrono::steady_clock::now();
    const RunResult r = say({"あ"});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_GE(elapsed, std::chrono::milliseconds(100));  // the stand-in's sound lasts 100 ms
    EXPECT_EQ(stray_files(), std::vector<std::string>{});
}

TEST_F(CommandLine, PacesTheReplyWithSpeakerLabels) {
    const RunResult r = say({"--no-wait", "--pace", "-s", "0", "\\0あ\\1い"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[main] あ\n[partner] い\n");
}

TEST_F(CommandLine, RawRequestGoesOutAndComesBackUnchanged) {
    const std::string request = "EXECUTE SAORI/1.0\r\nArgument0: \x82\xA0\r\n\r\n";
    fixture::write_text(dir_ + "/request.txt", request);
    const RunResult r = say({"--no-wait", "--raw", dir_ + "/request.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(record("stub-request.bin"), request);
    EXPECT_EQ(r.out, "SAORI/1.0 200 OK\r\nResult: \x82\xA0\r\nCharset: Shift_JIS\r\n\r\n");
}

TEST_F(CommandLine, ReportsProblemsWithAClearMessageAndStatus) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    };
    fixture::write_text(dir_ + "/not-a-library.so", "text");
    const std::vector<Case> cases = {
        {{"--bogus"}, 2, "unknown option '--bogus'"},
        {{"a", "--file", "b"}, 2, "either as arguments"},
        {{"--no-wait", "--file", dir_ + "/missing.txt"}, 1, "cannot open '" + dir_ + "/missing.txt'"},
        {{"--no-wait", "--file", dir_}, 1, "Is a directory"},
        {{"--no-wait", "STUB-NO-RESPONSE"}, 1, "empty response"},
        {{"--no-wait", "-o", dir_ + "/no/such/dir.wav", "a"}, 1, "cannot write " + dir_ + "/no/such/dir.wav"},
    };
    for (const Case& c : cases) {
        const RunResult r = say(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments[0];
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(stray_files(), std::vector<std::string>{});

    const RunResult no_dir = run_say({"--library", VOKARI_SAY_STUB_MODULE, "--module-dir", dir_ + "/none", "a"});
    EXPECT_EQ(no_dir.status, 1);
    EXPECT_NE(no_dir.err.find("module directory not found: " + dir_ + "/none"), std::string::npos) << no_dir.err;

    const RunResult no_library = run_say({"--library", dir_ + "/none.so", "--module-dir", module_dir_, "a"});
    EXPECT_EQ(no_library.status, 1);
    EXPECT_NE(no_library.err.find("module library not found: " + dir_ + "/none.so"), std::string::npos);

    const RunResult bad_library = run_say({"--library", dir_ + "/not-a-library.so", "--module-dir", module_dir_, "a"});
    EXPECT_EQ(bad_library.status, 1);
    EXPECT_NE(bad_library.err.find("cannot load the module library"), std::string::npos) << bad_library.err;
}

TEST_F(CommandLine, OutputFilesAreCheckedBeforeAnythingIsSpoken) {
    symlink((dir_ + "/missing.wav").c_str(), (dir_ + "/dangling.wav").c_str());
    const std::vector<std::vector<std::string>> cases = {
        {"-o", dir_ + "/none/a.wav", "No such file or directory"},
        {"--svg", dir_ + "/none/a.svg", "No such file or directory"},
        {"-o", dir_, "Is a directory"},
        {"--svg", dir_, "Is a directory"},
        {"-o", dir_ + "/dangling.wav", "symbolic link to a file that does not exist"},
    };
    for (const std::vector<std::string>& c : cases) {
        const RunResult r = say({"--no-play", c[0], c[1], "あ"});
        EXPECT_EQ(r.status, 1) << c[1];
        EXPECT_NE(r.err.find("cannot write " + c[1] + ": " + c[2]), std::string::npos) << r.err;
        EXPECT_EQ(record("stub-calls.txt"), "") << "the module was loaded for " << c[1];
    }
    EXPECT_TRUE(fixture::read_file(dir_ + "/missing.wav").empty());
    // The check that a new file can be made leaves none behind when the run fails.
    const RunResult failed = say({"--no-play", "-o", dir_ + "/new.wav", "STUB-NO-RESPONSE"});
    EXPECT_EQ(failed.status, 1) << failed.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/new.wav"));
}

// A module that does not know the reading command takes it for a script: it
// must render it into the silent file, never play it or pass it off as kana.
TEST_F(CommandLine, ReadingFromAModuleWithoutTheCommandIsRefused) {
    fixture::write_text(module_dir_ + "/vokari.txt", "voice.reading.dic,naist-jdic\n");
    const RunResult r = say({"--reading", "あめ"});
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("the voice's reading step is not working"), std::string::npos) << r.err;
    EXPECT_NE(record("stub-request.bin").find("Argument0: @wavouts[vokari-say-"), std::string::npos);
}

TEST_F(CommandLine, OutputThroughASymbolicLinkWritesItsTarget) {
    fixture::write_text(dir_ + "/target.wav", "old");
    ASSERT_EQ(symlink("target.wav", (dir_ + "/link.wav").c_str()), 0);
    const RunResult r = say({"--no-play", "-o", dir_ + "/link.wav", "あ"});
    EXPECT_EQ(r.status, 0) << r.err;
    struct stat info;
    ASSERT_EQ(lstat((dir_ + "/link.wav").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(fixture::read_file(dir_ + "/target.wav").size(), 58u + 2205u);
}

TEST_F(CommandLine, ScriptFilesInShiftJisAreDetectedOrNamed) {
    fixture::write_text(dir_ + "/sjis.txt", kScriptCp932 + "\r\n");
    const RunResult detected = say({"--no-play", "-f", dir_ + "/sjis.txt"});
    EXPECT_EQ(detected.status, 0) << detected.err;
    EXPECT_EQ(detected.out, kScriptUtf8 + "\n");
    EXPECT_EQ(record("stub-request.bin"), makoto_request("@wavouts[vokari-say-out.wav]" + kScriptCp932));

    const RunResult not_utf8 = say({"--no-play", "--encoding", "utf-8", "-f", dir_ + "/sjis.txt"});
    EXPECT_EQ(not_utf8.status, 1);
    EXPECT_NE(not_utf8.err.find("not UTF-8 (byte 0)"), std::string::npos) << not_utf8.err;

    // C3 B1 is "ñ" in UTF-8 and "ﾃｱ" in Shift_JIS: detection takes UTF-8,
    // which has no Shift_JIS form; naming the encoding reads the katakana.
    const RunResult as_utf8 = say({"--no-play"}, "\xC3\xB1");
    EXPECT_EQ(as_utf8.status, 1);
    EXPECT_NE(as_utf8.err.find("U+00F1"), std::string::npos) << as_utf8.err;
    const RunResult as_sjis = say({"--no-play", "-e", "shift_jis"}, "\xC3\xB1");
    EXPECT_EQ(as_sjis.status, 0) << as_sjis.err;
    EXPECT_EQ(as_sjis.out, "ﾃｱ\n");
}

TEST_F(CommandLine, NoSoundDeviceIsNoSuccessUnlessSilenceWasAskedFor) {
    setenv("STUB_NO_SOUND_DEVICE", "1", 1);
    const RunResult played = say({"--no-wait", "あ"});
    EXPECT_EQ(played.status, 3);
    EXPECT_NE(played.err.find("nothing was played: this machine has no sound output device"), std::string::npos)
        << played.err;
    const RunResult silent = say({"--no-play", "あ"});
    EXPECT_EQ(silent.status, 0) << silent.err;
}

TEST_F(CommandLine, HelpDescribesTheOptionsAndExitStatuses) {
    const RunResult r = run_say({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--file", "--encoding", "--module-dir", "--output", "--no-play", "--pace", "--svg",
                               "--saori", "--raw", "\n  0  ", "\n  1  ", "\n  2  ", "\n  3  "})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

// --reading unloads the module as speaking does, so that it closes its log.
TEST_F(CommandLine, ReadingUnloadsTheModule) {
    say({"--reading", "あめ"});
    const std::string calls = record("stub-calls.txt");
    EXPECT_TRUE(std::regex_match(calls, std::regex("load [^\n]+\nunload\n"))) << calls;
}

}  // namespace
