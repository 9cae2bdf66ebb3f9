// The prosody model: timing, devoicing and melody of known lines, the same
// plan as the engine's public interface gives, tempo and range, bounded work
// on hostile lines, and the trained voice file checked before the engine
// sees it, in the module too (one warning, speech unchanged, no stderr).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "HTS_engine.h"
#include "module_adapter.h"
#include "reading/prosody_model.h"
#include "reading/text_reader.h"
#include "tools/text/shift_jis.h"

namespace fs = std::filesystem;
using vokari::ProsodyLabels;
using vokari::ProsodyModel;
using vokari::ProsodyPlan;
using vokari::ReadWord;

namespace {

const fs::path kVoiceDir = fs::path(VOKARI_SOURCE_DIR) / "voices/default";
const fs::path kDictionary = kVoiceDir / "naist-jdic";
const fs::path kTrainedVoice = kVoiceDir / vokari::kTrainedVoiceFileName;

std::string sjis(const char* utf8) { return vokari::text::utf8_to_shift_jis(utf8).shift_jis; }

std::string read_bytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class ProsodyModelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        reader_ = new vokari::TextReader;
        model_ = new ProsodyModel;
        ASSERT_EQ(reader_->open(kDictionary.string()), "") << "build the target vokari_reading_dictionary first";
        ASSERT_EQ(model_->open(kTrainedVoice.string()), "");
    }
    static void TearDownTestSuite() {
        delete model_;
        delete reader_;
    }
    static std::vector<ReadWord> words(const std::string& text) {
        std::vector<ReadWord> out;
        reader_->analyse(text.data(), text.size(), out);
        return out;
    }
    static ProsodyPlan plan(const char* utf8, double tempo = 1.0, double range = 1.0) {
        return model_->plan(words(sjis(utf8)), tempo, range);
    }
    static std::string kana(const ProsodyPlan& plan) {
        std::string all;
        for (const vokari::ProsodyMora& mora : plan.morae) all += mora.kana;
        return vokari::text::shift_jis_to_utf8(all).utf8;
    }
    static int spoken_ms(const ProsodyPlan& plan) {
        return plan.morae.back().start_ms + plan.morae.back().length_ms - plan.morae.front().start_ms;
    }
    static vokari::TextReader* reader_;
    static ProsodyModel* model_;
};
vokari::TextReader* ProsodyModelTest::reader_ = nullptr;
ProsodyModel* ProsodyModelTest::model_ = nullptr;

TEST_F(ProsodyModelTest, KnownLinesHavePlausibleTimingAndDevoicing) {
    const ProsodyPlan hello = plan("こんにちは");
    ASSERT_EQ(hello.frame_ms, 5);
    EXPECT_EQ(kana(hello), "コンニチワ");
    EXPECT_EQ(hello.phonemes.size(), 11u);  // sil k o N n i ch i w a sil
    EXPECT_GT(spoken_ms(hello), 400);
    EXPECT_LT(spoken_ms(hello), 1200);
    for (const vokari::ProsodyMora& mora : hello.morae) {
        EXPECT_FALSE(mora.devoiced);
        EXPECT_GT(mora.log_f0, 0.0);
        EXPECT_GE(mora.vowel_start_ms, mora.start_ms);
        EXPECT_LT(mora.vowel_start_ms, mora.start_ms + mora.length_ms);
    }
    // Morae follow each other without gaps inside a phrase.
    for (std::size_t i = 1; i < hello.morae.size(); ++i)
        EXPECT_EQ(hello.morae[i].start_ms, hello.morae[i - 1].start_ms + hello.morae[i - 1].length_ms);

    const ProsodyPlan polite = plan("そうです。");
    EXPECT_EQ(kana(polite), "ソーデス");
    EXPECT_TRUE(polite.morae.back().devoiced);  // す said without voice
    EXPECT_FALSE(polite.morae[2].devoiced);

    // 、 and 。 between words are pauses of the model's length.
    const ProsodyPlan paused = plan("はい、そうです。");
    int pauses = 0;
    for (const vokari::ProsodyPhoneme& phoneme : paused.phonemes)
        if (phoneme.name == "pau") {
            ++pauses;
            EXPECT_GT(phoneme.length_ms, 0);
            EXPECT_EQ(phoneme.mora, -1);
        }
    EXPECT_EQ(pauses, 1);
}

// 雨 (accent on the first mora) falls after it; 飴 (flat) rises and stays.
TEST_F(ProsodyModelTest, PitchFallsAfterTheAccentNucleusOnly) {
    const ProsodyPlan rain = plan("雨が");
    const ProsodyPlan candy = plan("飴が");
    ASSERT_EQ(rain.morae.size(), 3u);
    ASSERT_EQ(candy.morae.size(), 3u);
    EXPECT_GT(rain.morae[0].log_f0, rain.morae[1].log_f0);
    EXPECT_GT(rain.morae[1].log_f0, rain.morae[2].log_f0);
    EXPECT_LT(candy.morae[0].log_f0, candy.morae[1].log_f0);
    EXPECT_LT(candy.morae[0].log_f0, candy.morae[2].log_f0);
}

// The plan generated below the engine's public interface is the plan the
// public interface generates from the same labels: every state duration and
// every log-F0 frame, voiced or not.
TEST_F(ProsodyModelTest, SameAsTheEnginesPublicInterface) {
    HTS_Engine engine;
    HTS_Engine_initialize(&engine);
    std::string path = kTrainedVoice.string();
    char* voices[] = {&path[0]};
    ASSERT_TRUE(HTS_Engine_load(&engine, voices, 1));
    const std::pair<const char*, double> lines[] = {
        {"こんにちは。そうです、雨が降る？", 1.0},
        {"今日はいい天気ですね、明日も晴れるといいのですが。", 1.6},
        {"東京へ行ったことがありますか", 0.6},
    };
    for (const auto& [line, tempo] : lines) {
        SCOPED_TRACE(line);
        const ProsodyLabels labels = vokari::make_prosody_labels(words(sjis(line)));
        const ProsodyPlan mine = model_->plan(labels, tempo, 1.0);
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

TEST_F(ProsodyModelTest, TempoAndRangeScaleTheLine) {
    const char* line = "今日はいい天気ですね";
    const ProsodyPlan own = plan(line);
    const ProsodyPlan fast = plan(line, 2.0);
    EXPECT_NEAR(fast.log_f0.size() * 2.0, static_cast<double>(own.log_f0.size()), own.log_f0.size() * 0.02);
    // Beyond the bounds the tempo is clamped, not wrapped or refused.
    EXPECT_EQ(plan(line, 100.0).log_f0.size(), plan(line, vokari::kFastestProsodyTempo).log_f0.size());
    EXPECT_EQ(plan(line, 0.0).log_f0.size(), plan(line, vokari::kSlowestProsodyTempo).log_f0.size());

    // Range 0 is flat at the line's mean, 0.5 halves every excursion from it.
    const ProsodyPlan flat = plan(line, 1.0, 0.0);
    const ProsodyPlan half = plan(line, 1.0, 0.5);
    double mean = 0.0, voiced = 0.0;
    for (const double value : own.log_f0)
        if (value != 0.0) mean += value, voiced += 1.0;
    mean /= voiced;
    for (std::size_t frame = 0; frame < own.log_f0.size(); ++frame) {
        if (own.log_f0[frame] == 0.0) {
            EXPECT_EQ(flat.log_f0[frame], 0.0);
            continue;
        }
        EXPECT_NEAR(flat.log_f0[frame], mean, 1e-9);
        EXPECT_NEAR(half.log_f0[frame] - mean, (own.log_f0[frame] - mean) / 2, 1e-9);
    }
    // A huge range is clamped, and F0 stays within its bounds.
    for (const double value : plan(line, 1.0, 1000.0).log_f0)
        if (value != 0.0) {
            EXPECT_GE(value, vokari::kLowestProsodyLogF0);
            EXPECT_LE(value, vokari::kHighestProsodyLogF0);
        }
}

TEST_F(ProsodyModelTest, HostileLinesAreBounded) {
    std::string commas;
    for (int i = 0; i < 1000; ++i) commas += sjis("、");
    EXPECT_EQ(model_->plan(words(commas), 1.0, 1.0).frame_ms, 0);  // nothing spoken: no plan
    const ProsodyPlan between = model_->plan(words(sjis("あ") + commas + sjis("い")), 1.0, 1.0);
    ASSERT_EQ(between.morae.size(), 2u);
    EXPECT_EQ(between.phonemes.size(), 5u);  // sil a pau i sil: a run of pauses is one

    // 300 morae in one sentence: planned whole; the kana limit's far side
    // gets no labels and no plan at all.
    std::string long_line;
    for (int i = 0; i < 30; ++i) long_line += sjis("たちつてとなにぬねの");
    const ProsodyPlan spoken = model_->plan(words(long_line), 1.0, 1.0);
    EXPECT_EQ(spoken.morae.size(), 300u);
    EXPECT_LT(spoken.phonemes.size(), vokari::kProsodyLabelLimit);
    const std::vector<ReadWord> too_long = words(long_line + long_line + long_line + long_line);
    EXPECT_TRUE(vokari::make_prosody_labels(too_long).labels.empty());
    EXPECT_EQ(model_->plan(too_long, 1.0, 1.0).frame_ms, 0);
    std::string at_limit;
    while (at_limit.size() < 2 * vokari::kProsodyKanaLimit) at_limit += sjis("か");
    EXPECT_EQ(vokari::make_prosody_labels(words(at_limit)).morae.size(), vokari::kProsodyKanaLimit);
    EXPECT_TRUE(vokari::make_prosody_labels(words(at_limit + sjis("か"))).labels.empty());

    // Any bytes: no crash, and whatever is planned is consistent.
    std::string noise;
    for (int i = 0; i < 4000; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
    const ProsodyPlan noisy = model_->plan(words(noise), 1.0, 1.0);
    for (const vokari::ProsodyPhoneme& phoneme : noisy.phonemes)
        EXPECT_LT(phoneme.mora, static_cast<int>(noisy.morae.size()));
}

// A module folder with the settings text `settings` and the analyser
// dictionary linked in, removed at the end.
struct Folder {
    fs::path dir = fs::temp_directory_path() / ("vokari_prosody_" + std::to_string(getpid()));
    explicit Folder(const std::string& settings) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "vokari.txt", std::ios::binary) << settings;
        fs::create_directory_symlink(kDictionary, dir / "naist-jdic");
    }
    ~Folder() { fs::remove_all(dir); }
};

TEST(TrainedVoiceFile, OnlyTheKnownFileOpens) {
    Folder folder("");
    const std::string good = read_bytes(kTrainedVoice);
    ASSERT_EQ(good.size(), static_cast<std::size_t>(vokari::kTrainedVoiceBytes));
    std::string changed = good;
    changed[changed.size() / 2] ^= 1;
    std::string other(good.size(), ' ');  // another format at the same size
    const std::pair<std::string, const char*> files[] = {
        {good.substr(0, good.size() - 1), "size 1169263 instead of 1169264"},
        {good + "x", "longer than the trained voice (1169264 bytes)"},
        {changed, "not the trained voice (SHA-256 differs)"},
        {other, "not the trained voice (SHA-256 differs)"},
        {good, ""},
    };
    ProsodyModel model;
    EXPECT_EQ(model.open((folder.dir / "none.htsvoice").string()), "missing");
    EXPECT_FALSE(model.is_open());
    for (const auto& [bytes, problem] : files) {
        std::ofstream(folder.dir / "voice.htsvoice", std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(model.open((folder.dir / "voice.htsvoice").string()), problem);
        EXPECT_EQ(model.is_open(), *problem == '\0');
    }
}

// In the module: an unusable voice file or a missing reading step costs one
// warning naming it, nothing on stderr, and the speech of the folder without
// the key, byte for byte; the good file no warning.
TEST(TrainedVoiceFile, ModuleWarnsOnceAndSpeaksAsWithoutTheKey) {
    const std::string request =
        "EXECUTE MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: " + sjis("今日は雨です") + "\r\n\r\n";
    const std::string reading = "log,log.txt\nvoice.reading.dic,naist-jdic\nvoice.pitch.accent,6\n";
    std::string expected;
    {
        Folder plain(reading);
        ASSERT_TRUE(module_adapter::load_module(plain.dir.string()));
        expected = module_adapter::answer(request);
        module_adapter::unload_module();
    }
    const std::string good = read_bytes(kTrainedVoice);
    struct Case {
        const char* problem;
        std::string settings;
        std::string file;
    };
    const Case cases[] = {
        {"missing", reading + "voice.prosody.model,none.htsvoice\n", good},
        {"size 1000 instead of 1169264", reading + "voice.prosody.model,voice.htsvoice\n", good.substr(0, 1000)},
        {"needs voice.reading.dic", "log,log.txt\nvoice.prosody.model,voice.htsvoice\n", good},
        {"", reading + "voice.prosody.model,voice.htsvoice\nvoice.prosody.range,0.5\nvoice.prosody.tempo,1.2\n", good},
    };
    for (const auto& [problem, settings, file] : cases) {
        SCOPED_TRACE(problem);
        Folder folder(settings);
        std::ofstream(folder.dir / "voice.htsvoice", std::ios::binary) << file;
        const fs::path errors = folder.dir.string() + ".stderr";
        std::fflush(stderr);
        const int saved = dup(2);
        std::FILE* capture = std::fopen(errors.c_str(), "w");
        dup2(fileno(capture), 2);
        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        const std::string answer = module_adapter::answer(request);
        module_adapter::unload_module();
        std::fflush(stderr);
        dup2(saved, 2);
        close(saved);
        std::fclose(capture);
        EXPECT_EQ(read_bytes(errors), "");
        fs::remove(errors);
        if (std::string(problem) != "needs voice.reading.dic") EXPECT_EQ(answer, expected);
        const std::string log = read_bytes(folder.dir / "log.txt");
        std::size_t warnings = 0;
        for (std::size_t at = log.find("WARNING : voice.prosody.model"); at != std::string::npos;
             at = log.find("WARNING : voice.prosody.model", at + 1))
            ++warnings;
        EXPECT_EQ(warnings, *problem == '\0' ? 0u : 1u) << log;
        if (*problem != '\0')
            EXPECT_NE(log.find(std::string(problem) + "; spoken without it."), std::string::npos) << log;
    }
}

}  // namespace

namespace {

// "GET Reading" with Argument1 "timing": the model's morae with their start,
// length and pitch; without the model, the plain morae.
TEST(TrainedVoiceFile, ReadingShowsEachMorasTiming) {
    const auto reading = [](const char* utf8) {
        const std::string response =
            module_adapter::answer("GET Reading SAORI/1.0\r\nCharset: Shift_JIS\r\nArgument0: " + sjis(utf8) +
                                   "\r\nArgument1: timing\r\n\r\n");
        const std::size_t at = response.find("Result: ");
        const std::string result =
            at == std::string::npos ? "" : response.substr(at + 8, response.find("\r\n", at) - at - 8);
        return vokari::text::shift_jis_to_utf8(result).utf8;
    };
    {
        Folder folder("voice.reading.dic,naist-jdic\n");
        ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
        EXPECT_EQ(reading("こんにちは"), "こ ん に ち わ");
        module_adapter::unload_module();
    }
    Folder folder(std::string("voice.reading.dic,naist-jdic\nvoice.prosody.model,") + vokari::kTrainedVoiceFileName +
                  "\n");
    fs::copy_file(kTrainedVoice, folder.dir / vokari::kTrainedVoiceFileName);
    ASSERT_TRUE(module_adapter::load_module(folder.dir.string()));
    std::istringstream tokens(reading("こんにちは、そうです"));
    std::vector<std::string> kana;
    int last_end = 0;
    std::string token;
    std::string last_pitch;
    while (tokens >> token) {
        std::istringstream fields(token);
        std::string mora, start, length, pitch;
        ASSERT_TRUE(std::getline(fields, mora, ':') && std::getline(fields, start, ':') &&
                    std::getline(fields, length, ':') && std::getline(fields, pitch, ':'))
            << token;
        kana.push_back(mora);
        EXPECT_GE(std::stoi(start), last_end) << token;
        last_end = std::stoi(start) + std::stoi(length);
        if (pitch != "-") {
            EXPECT_GT(std::stoi(pitch), 60) << token;
            EXPECT_LT(std::stoi(pitch), 300) << token;
        }
        last_pitch = pitch;
    }
    EXPECT_EQ(kana, (std::vector<std::string>{"コ", "ン", "ニ", "チ", "ワ", "ソ", "ー", "デ", "ス"}));
    EXPECT_EQ(last_pitch, "-");  // す without voice
    module_adapter::unload_module();
}

}  // namespace
