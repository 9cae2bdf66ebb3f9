// The prosody model: timing, devoicing and melody of known lines, the same
// plan as the engine's public interface, tempo and range, bounded work on
// hostile lines, and the trained voice file checked before the engine sees
// it, in the module too (one warning, speech unchanged, no stderr).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "HTS_engine.h"
#include "module_adapter.h"
#include "reading_test.h"
#include "reading/prosody_model.h"
#include "reading/timed_morae.h"
#include "tools/text/shift_jis.h"

namespace fs = std::filesystem;
using vokari::ProsodyPlan;

namespace {

using namespace reading_test;

const fs::path kTrainedVoice = kVoiceDir / vokari::kTrainedVoiceFileName;

class ProsodyModelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(reader.open((kVoiceDir / "naist-jdic").string()), "") << "build vokari_reading_dictionary first";
        ASSERT_EQ(model.open(kTrainedVoice.string()), "");
    }
    static std::vector<vokari::ReadWord> words(const std::string& text) {
        std::vector<vokari::ReadWord> out;
        reader.analyse(text.data(), text.size(), out);
        return out;
    }
    static ProsodyPlan plan(const char* line, double tempo = 1.0, double range = 1.0) {
        return model.plan(words(sjis(line)), tempo, range);
    }
    // The morae as "ソーデス*|": "*" after a devoiced one, "|" for a pause.
    static std::string shape(const ProsodyPlan& plan) {
        std::string text;
        int last = -1;
        for (const vokari::ProsodyPhoneme& phoneme : plan.phonemes) {
            if (phoneme.name == "pau") text += "|";
            if (phoneme.mora < 0 || phoneme.mora == last) continue;
            last = phoneme.mora;
            const vokari::ProsodyMora& mora = plan.morae[static_cast<std::size_t>(phoneme.mora)];
            text += utf8(mora.kana) + (mora.devoiced ? "*" : "");
        }
        return text;
    }
    static inline vokari::TextReader reader;
    static inline vokari::ProsodyModel model;
};

TEST_F(ProsodyModelTest, KnownLinesHavePlausibleTimingDevoicingAndPauses) {
    const ProsodyPlan hello = plan("こんにちは");
    EXPECT_EQ(hello.frame_ms, 5);
    EXPECT_EQ(hello.phonemes.size(), 11u);  // sil k o N n i ch i w a sil
    const int spoken = hello.morae.back().start_ms + hello.morae.back().length_ms - hello.morae[0].start_ms;
    EXPECT_GT(spoken, 400);
    EXPECT_LT(spoken, 1200);
    for (const vokari::ProsodyMora& mora : hello.morae) {
        EXPECT_GT(mora.log_f0, 0.0);
        EXPECT_GE(mora.vowel_start_ms, mora.start_ms);
        EXPECT_LT(mora.vowel_start_ms, mora.start_ms + mora.length_ms);
    }
    EXPECT_EQ(shape(hello), "コンニチワ");
    EXPECT_EQ(shape(plan("はい、そうです。")), "ハイ|ソーデス*");
    EXPECT_EQ(shape(plan("聞きました")), "キ*キマシ*タ");
}

// A script is planned a sentence at a time: the second sentence's morae
// name their own words and follow the first after the model's leading
// silence, and each sentence's contour keeps its shape around a shared mean.
TEST_F(ProsodyModelTest, ScriptsArePlannedSentenceBySentence) {
    const std::vector<vokari::ReadWord> one = words(sjis("雨です。"));
    std::vector<vokari::ReadWord> two = one;
    two.insert(two.end(), one.begin(), one.end());
    const ProsodyPlan alone = model.plan(one, 1.0, 1.0);
    const ProsodyPlan both = vokari::plan_sentences(model, two, 1.0, 1.0);
    const std::size_t n = alone.morae.size();
    ASSERT_EQ(both.morae.size(), 2 * n);
    const int end = alone.morae.back().start_ms + alone.morae.back().length_ms;
    for (std::size_t m = 0; m < n; ++m) {
        EXPECT_EQ(both.morae[n + m].word, alone.morae[m].word + static_cast<int>(one.size()));
        EXPECT_EQ(both.morae[n + m].start_ms, alone.morae[m].start_ms + end);
        EXPECT_EQ(both.morae[n + m].length_ms, alone.morae[m].length_ms);
    }
    const std::size_t shift = static_cast<std::size_t>(end / both.frame_ms);
    for (std::size_t f = 0; f < alone.log_f0.size(); ++f) EXPECT_NEAR(both.log_f0[shift + f], alone.log_f0[f], 1e-9);
}

// The plan reaches the reading step's morae word by word: each word's morae
// in order, a word counted otherwise by the model left untimed, the gap
// before a mora its pause, a held vowel known as held.
TEST(TimedMorae, EachWordTakesItsOwnMoraeOrNone) {
    vokari::ProsodyPlan plan;
    const char* kana[] = {"\x83\x4a", "\x81\x5b", "\x83\x4a", "\x83\x4a", "\x83\x4a", "\x83\x4a"};  // カーカカカカ
    const int words[] = {0, 0, 2, 2, 2, 4};
    for (int m = 0; m < 6; ++m) {
        vokari::ProsodyMora mora;
        mora.kana = kana[m];
        mora.start_ms = 100 * m + (m == 5 ? 250 : 0);
        mora.length_ms = 100;
        mora.vowel_start_ms = mora.start_ms + 40;
        mora.word = words[m];
        plan.morae.push_back(mora);
    }
    std::vector<vokari::SpokenMora> morae;
    for (std::size_t word : {0, 0, 2, 2, 4}) morae.push_back(vokari::SpokenMora{"", word, 0});
    vokari::time_morae(plan, morae);
    const std::int32_t lengths[] = {100, 100, 0, 0, 100};
    for (std::size_t m = 0; m < morae.size(); ++m) EXPECT_EQ(morae[m].length_ms, lengths[m]) << m;
    EXPECT_TRUE(morae[1].held && !morae[0].held);
    EXPECT_EQ(morae[0].vowel_ms, 40);
    EXPECT_EQ(morae[4].pause_ms, 250);
}

// 雨 (accent on the first mora) falls after it; 飴 (flat) rises and stays.
TEST_F(ProsodyModelTest, PitchFallsAfterTheAccentNucleusOnly) {
    const ProsodyPlan rain = plan("雨が"), candy = plan("飴が");
    ASSERT_EQ(rain.morae.size(), 3u);
    ASSERT_EQ(candy.morae.size(), 3u);
    EXPECT_GT(rain.morae[0].log_f0, rain.morae[1].log_f0);
    EXPECT_GT(rain.morae[1].log_f0, rain.morae[2].log_f0);
    EXPECT_LT(candy.morae[0].log_f0, candy.morae[1].log_f0);
    EXPECT_LT(candy.morae[0].log_f0, candy.morae[2].log_f0);
}

// Generated below the engine's public interface, the plan is the one the
// public interface generates from the same labels: every phoneme's length
// and every log-F0 frame, voiced or not, at several tempi.
TEST_F(ProsodyModelTest, SameAsTheEnginesPublicInterface) {
    HTS_Engine engine;
    HTS_Engine_initialize(&engine);
    std::string path = kTrainedVoice.string();
    char* voices[] = {&path[0]};
    ASSERT_TRUE(HTS_Engine_load(&engine, voices, 1));
    const std::pair<const char*, double> lines[] = {
        {"こんにちは。そうです、雨が降る？", 1.0}, {"今日はいい天気ですね、明日も晴れるといいのですが。", 1.6},
        {"東京へ行ったことがありますか", 0.6},     {"東京へ行ったことがありますか", 0.8},
        {"こんにちは。そうです、雨が降る？", 0.7}, {"今日はいい天気ですね、明日も晴れるといいのですが。", 1.3},
    };
    for (const auto& [line, tempo] : lines) {
        SCOPED_TRACE(line);
        const vokari::ProsodyLabels labels = vokari::make_prosody_labels(words(sjis(line)));
        const ProsodyPlan mine = model.plan(labels, tempo, 1.0);
        std::vector<char*> strings;
        for (const std::string& label : labels.labels) strings.push_back(const_cast<char*>(label.c_str()));
        HTS_Engine_set_speed(&engine, tempo);
        ASSERT_TRUE(HTS_Engine_generate_state_sequence_from_strings(&engine, strings.data(), strings.size()));
        ASSERT_TRUE(HTS_Engine_generate_parameter_sequence(&engine));
        for (std::size_t i = 0; i < labels.labels.size(); ++i) {
            std::size_t frames = 0;
            for (std::size_t s = 0; s < 5; ++s) frames += HTS_Engine_get_state_duration(&engine, i * 5 + s);
            EXPECT_EQ(mine.phonemes[i].length_ms, static_cast<int>(frames) * 5) << i;
        }
        const HTS_PStream& lf0 = engine.pss.pstream[1];
        ASSERT_EQ(mine.log_f0.size(), engine.pss.total_frame);
        for (std::size_t frame = 0, voiced = 0; frame < mine.log_f0.size(); ++frame)
            EXPECT_EQ(mine.log_f0[frame], lf0.msd_flag[frame] ? lf0.par[voiced++][0] : 0.0) << frame;
        HTS_Engine_refresh(&engine);
    }
    HTS_Engine_clear(&engine);
}

// The words' finest part of speech reaches the labels: a family name is a
// proper noun there as a place name is, and the label library finds every
// part of speech it is given.
TEST_F(ProsodyModelTest, EveryWordsPartOfSpeechReachesTheLabels) {
    const auto word_class_of_first = [](const char* line, const char* phoneme) {
        const vokari::ProsodyLabels labels = vokari::make_prosody_labels(words(sjis(line)));
        for (std::size_t i = 0; i < labels.phonemes.size(); ++i) {
            if (labels.phonemes[i] != phoneme) continue;
            const std::string& label = labels.labels[i];
            const std::size_t c = label.find("/C:") + 3;
            return label.substr(c, label.find('_', c) - c);
        }
        return std::string();
    };
    const std::string family_name = word_class_of_first("山田太郎です", "y");
    const std::string place_name = word_class_of_first("東京です", "t");
    EXPECT_NE(family_name, "xx");  // the library's mark for a word class it did not find
    EXPECT_EQ(family_name, place_name);
}

TEST_F(ProsodyModelTest, TempoAndRangeScaleTheLineWithinTheirBounds) {
    const char* line = "今日はいい天気ですね";
    const ProsodyPlan own = plan(line), flat = plan(line, 1.0, 0.0), half = plan(line, 1.0, 0.5);
    EXPECT_NEAR(plan(line, 2.0).log_f0.size() * 2.0, own.log_f0.size(), own.log_f0.size() * 0.02);
    EXPECT_EQ(plan(line, 100.0).log_f0.size(), plan(line, vokari::kFastestProsodyTempo).log_f0.size());
    EXPECT_EQ(plan(line, 0.0).log_f0.size(), plan(line, vokari::kSlowestProsodyTempo).log_f0.size());
    // Range 0 is flat at the line's mean, 0.5 halves every excursion from it.
    double mean = 0.0, voiced = 0.0;
    for (const double value : own.log_f0) mean += value, voiced += value != 0.0;
    mean /= voiced;
    for (std::size_t frame = 0; frame < own.log_f0.size(); ++frame) {
        if (own.log_f0[frame] == 0.0) {
            EXPECT_EQ(flat.log_f0[frame], 0.0);
            continue;
        }
        EXPECT_NEAR(flat.log_f0[frame], mean, 1e-9);
        EXPECT_NEAR(half.log_f0[frame] - mean, (own.log_f0[frame] - mean) / 2, 1e-9);
    }
    for (const double value : plan(line, 1.0, 1000.0).log_f0)
        if (value != 0.0) EXPECT_TRUE(value >= vokari::kLowestProsodyLogF0 && value <= vokari::kHighestProsodyLogF0);
}

TEST_F(ProsodyModelTest, HostileLinesAreBounded) {
    std::string commas;
    for (int i = 0; i < 1000; ++i) commas += sjis("、");
    EXPECT_EQ(plan(utf8(commas).c_str()).frame_ms, 0);                                // nothing spoken: no plan
    EXPECT_EQ(shape(plan(utf8(sjis("あ") + commas + sjis("い")).c_str())), "ア|イ");  // a run of pauses is one
    std::string line;                                                                 // 300 morae in one sentence
    for (int i = 0; i < 30; ++i) line += "たちつてとなにぬねの";
    EXPECT_EQ(plan(line.c_str()).morae.size(), 300u);
    // Up to the kana limit a line is labelled, beyond it nothing is.
    std::string at_limit;
    for (std::size_t i = 0; i < vokari::kProsodyKanaLimit; ++i) at_limit += sjis("か");
    EXPECT_EQ(vokari::make_prosody_labels(words(at_limit)).morae.size(), vokari::kProsodyKanaLimit);
    EXPECT_TRUE(vokari::make_prosody_labels(words(at_limit + sjis("か"))).labels.empty());
    EXPECT_EQ(model.plan(words(at_limit + sjis("か")), 1.0, 1.0).frame_ms, 0);
    std::string noise;  // any bytes: no crash
    for (int i = 0; i < 4000; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
    for (const vokari::ProsodyPhoneme& phoneme : model.plan(words(noise), 1.0, 1.0).phonemes)
        EXPECT_LT(phoneme.mora, static_cast<int>(model.plan(words(noise), 1.0, 1.0).morae.size()));
}

// A module folder with the settings `settings` and the analyser dictionary.
TEST(TrainedVoiceFile, OnlyTheKnownFileOpens) {
    Folder folder("");
    const std::string good = read_bytes(kTrainedVoice);
    std::string changed = good;
    changed[changed.size() / 2] ^= 1;
    const std::pair<std::string, const char*> files[] = {
        {good.substr(0, good.size() - 1), "size 1169263 instead of 1169264"},
        {good + "x", "longer than the trained voice (1169264 bytes)"},
        {changed, "not the trained voice (SHA-256 differs)"},
        {std::string(good.size(), ' '), "not the trained voice (SHA-256 differs)"},  // another format
        {good, ""},
    };
    vokari::ProsodyModel model;
    EXPECT_EQ(model.open((folder.dir / "none").string()), "missing");
    for (const auto& [bytes, problem] : files) {
        std::ofstream(folder.dir / "voice.htsvoice", std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(model.open((folder.dir / "voice.htsvoice").string()), problem);
        EXPECT_EQ(model.is_open(), *problem == '\0');
    }
}

// The melody reaches the sound: the same line with the bundled samples,
// flat (range 0) and sung, differs.
TEST(TrainedVoiceFile, TheMelodyReachesTheSound) {
    std::string sound[2];
    for (int sung = 0; sung < 2; ++sung) {
        Folder folder(std::string("voice.reading.dic,naist-jdic\nvoice.prosody.model,") +
                      vokari::kTrainedVoiceFileName + (sung ? "\n" : "\nvoice.prosody.range,0\n"));
        fs::copy_file(kTrainedVoice, folder.dir / vokari::kTrainedVoiceFileName);
        for (const char* samples : {"vokariv0", "vokariv1", "vokaric0", "vokaric1"})
            fs::create_directory_symlink(kVoiceDir / samples, folder.dir / samples);
        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        module_adapter::answer(
            "EXECUTE MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: " + sjis("今日は雨です@wavouts[s.wav]") + "\r\n\r\n");
        module_adapter::unload_module();
        sound[sung] = read_bytes(folder.dir / "s.wav");
    }
    EXPECT_GT(sound[0].size(), 10000u);
    EXPECT_TRUE(sound[0] != sound[1]);
}

// In the module: an unusable voice file or a missing reading step costs one
// warning naming the problem, nothing on stderr, and the speech of the
// folder without the key, byte for byte; the good file costs nothing.
TEST(TrainedVoiceFile, ModuleWarnsOnceAndSpeaksAsWithoutTheKey) {
    const std::string request =
        "EXECUTE MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: " + sjis("今日は雨です") + "\r\n\r\n";
    const std::string reading = "log,log.txt\nvoice.reading.dic,naist-jdic\nvoice.pitch.accent,6\n";
    const std::string key = "voice.prosody.model,voice.htsvoice\nvoice.prosody.range,0.5\nvoice.prosody.tempo,1.2\n";
    std::string expected;
    {
        Folder plain(reading);
        ASSERT_TRUE(module_adapter::load_module(plain.dir.string()));
        expected = module_adapter::answer(request);
        module_adapter::unload_module();
    }
    const std::string good = read_bytes(kTrainedVoice);
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"missing", reading + "voice.prosody.model,none\n", good},
        {"size 1000 instead of 1169264", reading + key, good.substr(0, 1000)},
        {"needs voice.reading.dic", "log,log.txt\n" + key, good},
        {"", reading + key, good},
    };
    for (const auto& [problem, settings, file] : cases) {
        SCOPED_TRACE(problem);
        Folder folder(settings);
        std::ofstream(folder.dir / "voice.htsvoice", std::ios::binary) << file;
        std::fflush(stderr);
        const int saved = dup(2);
        std::FILE* capture = std::tmpfile();
        dup2(fileno(capture), 2);
        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        const std::string answer = module_adapter::answer(request);
        module_adapter::unload_module();
        std::fflush(stderr);
        dup2(saved, 2);
        close(saved);
        EXPECT_EQ(std::ftell(capture), 0L);
        std::fclose(capture);
        if (*problem == '\0') {
            EXPECT_NE(answer, expected);  // the model times the speech, and the waits follow
        } else if (std::string(problem) != "needs voice.reading.dic") {
            EXPECT_EQ(answer, expected);
        }
        const std::string log = read_bytes(folder.dir / "log.txt");
        const std::string warning = "WARNING : voice.prosody.model";
        const std::size_t first = log.find(warning);
        EXPECT_EQ(first == std::string::npos, *problem == '\0') << log;
        EXPECT_EQ(log.find(warning, first == std::string::npos ? 0 : first + 1), std::string::npos) << log;
        if (*problem != '\0') EXPECT_NE(log.find(std::string(problem) + "; spoken without it."), std::string::npos);
    }
}

// "GET Reading" with Argument1 "timing": the model's morae with their start,
// length and pitch ("-" without voice); without the model, the plain morae.
TEST(TrainedVoiceFile, ReadingShowsEachMorasTiming) {
    const auto reading = [](const char* line) {
        const std::string response =
            module_adapter::answer("GET Reading SAORI/1.0\r\nCharset: Shift_JIS\r\nArgument0: " + sjis(line) +
                                   "\r\nArgument1: timing\r\n\r\n");
        const std::size_t at = response.find("Result: ") + 8;
        return utf8(response.substr(at, response.find("\r\n", at) - at));
    };
    {
        Folder folder("voice.reading.dic,naist-jdic\n");
        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        EXPECT_EQ(reading("こんにちは"), "こ ん に ち わ");
        module_adapter::unload_module();
    }
    Folder folder(std::string("voice.reading.dic,naist-jdic\nvoice.prosody.model,") + vokari::kTrainedVoiceFileName);
    fs::copy_file(kTrainedVoice, folder.dir / vokari::kTrainedVoiceFileName);
    ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
    const std::string timed = reading("こんにちは、です");
    EXPECT_TRUE(std::regex_match(timed, std::regex("コ:3\\d\\d:\\d+:1\\d\\d ン:\\d+:\\d+:1\\d\\d( \\S+){3} "
                                                   "デ:\\d+:\\d+:\\d+ ス:\\d+:\\d+:-")))
        << timed;
    module_adapter::unload_module();
}

}  // namespace
