// The author's guide (docs/guide.md) against the module:
//  - every example file under docs/examples (and the packaged vokari.txt and
//    dictionary) is quoted verbatim in the guide, and every fenced block of
//    the guide is one of those files;
//  - the guide names every settings key, details key, script tag and voice
//    tag that the module has, as listed from the code itself, and its table
//    of log lines holds exactly the lines of the module's log-line table;
//  - every example is run through the module against the fixture voice and
//    does what the guide says it does.
#include <gtest/gtest.h>


#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/mulaw.h"
#include "support/fixture_voice.h"
#include "support/host_calls.h"
#include "support/module_state.h"
#include "support/recording_player.h"
#include "support/text_files.h"
#include "base/script_syntax.h"
#include "translate/timeline.h"
#include "voice_data/log_line_table.h"
#include "vokari_voice_format.h"
#include "tools/text/shift_jis.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = VOKARI_SOURCE_DIR;

std::string guide_text() { return fixture::read_text(kSource + "/docs/guide.md"); }

// ---------------------------------------------------------------------------
// Encodings: examples and the guide are UTF-8, the module speaks Shift_JIS.

std::string sjis(const std::string& utf8) {
    const vokari::text::ShiftJisEncoding encoded = vokari::text::utf8_to_shift_jis(utf8);
    EXPECT_TRUE(encoded.ok) << "no Shift_JIS form: " << utf8;
    return encoded.shift_jis;
}
std::string utf8(const std::string& sjis_text) {
    const vokari::text::ShiftJisDecoding decoded = vokari::text::shift_jis_to_utf8(sjis_text);
    EXPECT_TRUE(decoded.ok) << "not Shift_JIS: " << sjis_text;
    return decoded.utf8;
}

// ---------------------------------------------------------------------------
// The guide's quotes: fenced blocks and inline code spans.

struct Quotes {
    std::vector<std::string> blocks;  // each body with a line feed after every line
    std::set<std::string> spans;
};

Quotes quotes_of(const std::string& guide) {
    Quotes quotes;
    std::istringstream lines(guide);
    std::string line;
    bool in_block = false;
    std::string block;
    while (std::getline(lines, line)) {
        if (line.rfind("```", 0) == 0) {
            if (in_block) quotes.blocks.push_back(block);
            block.clear();
            in_block = !in_block;
            continue;
        }
        if (in_block) {
            block += line + "\n";
            continue;
        }
        for (std::size_t open = line.find('`'); open != std::string::npos; open = line.find('`', open)) {
            std::size_t close = line.find('`', open + 1);
            if (close == std::string::npos) break;
            quotes.spans.insert(line.substr(open + 1, close - open - 1));
            open = close + 1;
        }
    }
    EXPECT_FALSE(in_block) << "the guide ends inside a fenced block";
    return quotes;
}

// The example files: everything under docs/examples, and the packaged
// settings file and dictionary.  Files under docs/examples/lines hold one
// script a line, each quoted as an inline code span.
struct Example {
    std::string name;  // relative to the source tree
    std::string text;
    bool per_line;
};

std::vector<Example> example_files() {
    std::vector<Example> examples;
    for (const auto& entry : fs::recursive_directory_iterator(kSource + "/docs/examples")) {
        if (!entry.is_regular_file()) continue;
        std::string name = fs::relative(entry.path(), kSource).generic_string();
        examples.push_back(
            {name, fixture::read_text(entry.path().string()), name.find("examples/lines/") != std::string::npos});
    }
    for (const char* name : {"packaging/vokari.txt", "packaging/dictionary.txt"})
        examples.push_back({name, fixture::read_text(kSource + "/" + name), false});
    std::sort(examples.begin(), examples.end(), [](const Example& a, const Example& b) { return a.name < b.name; });
    return examples;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string example_text(const std::string& name) { return fixture::read_text(kSource + "/" + name); }

// ---------------------------------------------------------------------------
// Quoting

// Both ways: every example file is quoted, and every fenced block is a file.
TEST(GuideQuotes, ExampleFilesAndFencedBlocksMatchVerbatim) {
    const Quotes quotes = quotes_of(guide_text());
    const std::vector<Example> examples = example_files();
    ASSERT_GE(examples.size(), 8u);
    ASSERT_GE(quotes.blocks.size(), 6u);
    std::set<std::string> files;
    for (const Example& example : examples) {
        ASSERT_FALSE(example.text.empty()) << example.name;
        ASSERT_EQ(example.text.back(), '\n') << example.name << " must end with a line feed";
        if (example.per_line) {
            for (const std::string& line : lines_of(example.text))
                EXPECT_TRUE(quotes.spans.count(line)) << example.name << ": the guide does not quote `" << line << "`";
        } else {
            files.insert(example.text);
            EXPECT_NE(std::find(quotes.blocks.begin(), quotes.blocks.end(), example.text), quotes.blocks.end())
                << "the guide does not quote " << example.name << " verbatim in a fenced block";
        }
    }
    for (const std::string& block : quotes.blocks)
        EXPECT_TRUE(files.count(block)) << "this block of the guide is no example file:\n" << block;
}

TEST(GuideQuotes, QuoteCheckNoticesAChangedExample) {
    // The check above compares whole files: one changed character is found.
    const Quotes quotes = quotes_of(guide_text());
    std::string changed = example_text("docs/examples/details.txt");
    changed.replace(changed.find("900"), 3, "901");
    EXPECT_EQ(std::find(quotes.blocks.begin(), quotes.blocks.end(), changed), quotes.blocks.end());
}

// START-HERE names guide sections by their headings, in 「」 in the Japanese
// part and after "section" in the English one: each must still open a
// heading of the guide.
TEST(GuideQuotes, StartHereNamesSectionsThatExist) {
    std::set<std::string> headings;
    std::istringstream lines(guide_text());
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("## ", 0) == 0 || line.rfind("### ", 0) == 0) headings.insert(line.substr(line.find(' ') + 1));
    const std::string start_here = fixture::read_text(kSource + "/packaging/START-HERE.txt");
    const std::regex named("「([^」]+)」|section\\s+\"([^\"]+)\"");
    int count = 0;
    for (std::sregex_iterator it(start_here.begin(), start_here.end(), named), end; it != end; ++it, ++count) {
        // A name may run over a line break.
        const std::string name =
            std::regex_replace((*it)[1].matched ? (*it)[1].str() : (*it)[2].str(), std::regex("\\s+"), " ");
        const bool found = std::any_of(headings.begin(), headings.end(),
                                       [&](const std::string& heading) { return heading.rfind(name, 0) == 0; });
        EXPECT_TRUE(found) << "START-HERE.txt names the guide section \"" << name << "\", which no heading opens with";
    }
    EXPECT_GE(count, 4) << "START-HERE.txt names fewer guide sections than it did";
}

// ---------------------------------------------------------------------------
// Coverage of keys, tags and log lines, listed from the code

// A bracket tag is documented by a span "<prefix><tag>...]", a plain tag by a
// span that is exactly "<prefix><tag>".
void expect_tags_documented(const vokari::StringTable& table, const std::string& prefix, bool bracketed,
                            const std::set<std::string>& spans) {
    ASSERT_GT(table.count, 0);
    for (int i = 0; i < table.count; ++i) {
        const std::string tag = prefix + table.strings[i];
        const bool found = std::any_of(spans.begin(), spans.end(), [&](const std::string& span) {
            return bracketed ? span.rfind(tag, 0) == 0 && span.back() == ']' : span == tag;
        });
        EXPECT_TRUE(found) << "the guide does not document the tag `" << tag << (bracketed ? "...]`" : "`");
    }
}

TEST(GuideCoverage, EveryKeyAndTag) {
    const Quotes quotes = quotes_of(guide_text());
    const std::string packaged = example_text("packaging/vokari.txt");
    for (const std::string key : vokari::kSettingsKeys) {
        EXPECT_TRUE(quotes.spans.count(key)) << "the guide does not name the settings key `" << key << "`";
        const std::regex listed("(^|\n)(// )?" + std::regex_replace(key, std::regex("\\."), "\\.") + ",");
        EXPECT_TRUE(std::regex_search(packaged, listed)) << "packaging/vokari.txt does not list " << key;
    }
    for (const std::string key : vokari::kDetailKeys)
        EXPECT_TRUE(quotes.spans.count(key)) << "the guide does not name the details key `" << key << "`";
    expect_tags_documented(vokari::script_bracket_tags, "\\", true, quotes.spans);
    expect_tags_documented(vokari::script_plain_tags, "\\", false, quotes.spans);
    expect_tags_documented(vokari::voice_bracket_tags, "@", true, quotes.spans);
    expect_tags_documented(vokari::voice_plain_tags, "@", false, quotes.spans);
}

// The log lines: the rows of the guide's table in section 11 against the
// module's own table of the lines it writes.

// The line of each row: the first code span of every table row.
std::vector<std::string> documented_log_lines(const std::string& guide) {
    std::vector<std::string> rows;
    const std::size_t section = guide.find("### What each line means");
    EXPECT_NE(section, std::string::npos) << "the guide has no table of log lines";
    std::istringstream lines(guide.substr(section, guide.find("\n### ", section + 1) - section));
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("| `", 0) == 0) rows.push_back(line.substr(3, line.find('`', 3) - 3));
    return rows;
}

// Stands for a field of a log line (a path, a number) in a pattern.
const char kField = '\x1F';

// A line of the module's table in UTF-8, a field mark in each field's place
// and without its line feeds.
std::string log_pattern(vokari::LogLine line) {
    const std::string field(1, kField);
    std::string text = vokari::log_text(line, {field, field, field, field});
    while (!text.empty() && text.back() == '\n') text.pop_back();
    EXPECT_EQ(text.find('\n'), std::string::npos) << "one entry of the log table must be one line: " << text;
    return utf8(text);
}

// True when `text` is `pattern` with at least one character in each field.
bool fits_pattern(const char* pattern, const char* text) {
    if (*pattern == '\0') return *text == '\0';
    if (*pattern == kField) {
        for (const char* rest = text; *rest != '\0';)
            if (fits_pattern(pattern + 1, ++rest)) return true;
        return false;
    }
    return *pattern == *text && fits_pattern(pattern + 1, text + 1);
}

struct LogCoverage {
    std::vector<std::string> unexplained;  // lines of the module that no row shows
    std::vector<std::string> unknown;      // rows that show no line of the module
};

LogCoverage log_coverage(const std::string& guide) {
    const std::vector<std::string> rows = documented_log_lines(guide);
    std::vector<std::string> patterns;
    for (int i = 0; i < static_cast<int>(vokari::LogLine::Count); ++i)
        patterns.push_back(log_pattern(static_cast<vokari::LogLine>(i)));
    const auto fits = [](const std::string& pattern, const std::string& row) {
        return fits_pattern(pattern.c_str(), row.c_str());
    };
    LogCoverage coverage;
    for (const std::string& pattern : patterns)
        if (std::none_of(rows.begin(), rows.end(), [&](const std::string& row) { return fits(pattern, row); }))
            coverage.unexplained.push_back(pattern);
    for (const std::string& row : rows)
        if (std::none_of(patterns.begin(), patterns.end(),
                         [&](const std::string& pattern) { return fits(pattern, row); }))
            coverage.unknown.push_back(row);
    return coverage;
}

TEST(GuideCoverage, EveryLogLineAndNoOther) {
    const LogCoverage coverage = log_coverage(guide_text());
    for (std::string line : coverage.unexplained) {
        std::replace(line.begin(), line.end(), kField, '*');
        ADD_FAILURE() << "the guide's table of log lines does not explain \"" << line << "\" (*: a field)";
    }
    for (const std::string& row : coverage.unknown)
        ADD_FAILURE() << "the guide explains the log line \"" << row << "\", which the module never writes";
}

TEST(GuideCoverage, LogCheckNoticesAMissingAndAStrayRow) {
    std::string guide = guide_text();
    const std::string cut =
        "WARNING : システムリミット値を越えるサイズのワークメモリを確保しようとしました. 制限します.";
    const std::size_t row = guide.find("| `" + cut + "`");
    ASSERT_NE(row, std::string::npos);
    guide.replace(row, guide.find('\n', row) - row, "| `// Now loading nothing.` | | |");
    const LogCoverage coverage = log_coverage(guide);
    EXPECT_EQ(coverage.unexplained, std::vector<std::string>{cut});
    EXPECT_EQ(coverage.unknown, std::vector<std::string>{"// Now loading nothing."});
}

// ---------------------------------------------------------------------------
// Running the examples

int decode(std::uint8_t b) { return vokari::mulaw_decode_table[b]; }

struct Spoken {
    std::string reply;  // UTF-8, without status line and Charset
    bool played = false;
    std::vector<std::uint8_t> samples;  // of the played image, without header
    vokari::Timeline timeline;

    long long energy(std::size_t from, std::size_t to) const {
        long long sum = 0;
        for (std::size_t i = from; i < std::min(to, samples.size()); ++i) sum += std::abs(decode(samples[i]));
        return sum;
    }
    long long energy() const { return energy(0, samples.size()); }
    int zero_crossings() const {
        int count = 0;
        for (std::size_t i = 1; i < samples.size(); ++i)
            if ((decode(samples[i - 1]) < 0) != (decode(samples[i]) < 0)) ++count;
        return count;
    }
    std::vector<std::pair<int, double>> controls(int speaker) const {
        std::vector<std::pair<int, double>> list;
        for (const vokari::ControlEvent& event : timeline.control_events[speaker])
            list.push_back({event.kind, event.value});
        return list;
    }
    int silences(int speaker, std::int32_t time) const {
        int count = 0;
        for (const vokari::PhonemeEvent& event : timeline.phoneme_events[speaker])
            if (event.slot == -1 && event.time == time) ++count;
        return count;
    }
    std::string tail(std::size_t count) const {
        std::size_t from = samples.size() > count ? samples.size() - count : 0;
        return std::string(samples.begin() + from, samples.end());
    }
};

class GuideExamples : public ::testing::Test, protected module_test::ModuleState {
protected:
    void SetUp() override {
        root_ = fixture::temp_directory("guide");
        ASSERT_FALSE(root_.empty());
        folder_ = root_ + "/host/ghost/yuki/ghost/master";
        fs::create_directories(folder_);
        translation_dictionary.clear();
        sound_effects.clear();
    }

    void TearDown() override {
        if (loaded_) vokari::unload_module(module_);
        translation_dictionary.clear();
        sound_effects.clear();
        fixture::remove_tree(root_);
    }

    static std::string windows_path(std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    void make_voice(const fixture::VoiceOptions& options = {}) { fixture::make_voice(folder_, options); }

    // Writes an example (UTF-8) into the module folder as Shift_JIS.
    void put(const std::string& example, const std::string& target) {
        ASSERT_TRUE(fixture::write_text(folder_ + "/" + target, sjis(example_text(example))));
    }

    void load() {
        translation_dictionary.clear();
        sound_effects.clear();
        // The host names the folder with backslashes; the module finds the
        // host's folder from them.
        const std::string directory = windows_path(folder_);
        vokari::load_module(module_, directory.c_str(), static_cast<long>(directory.size()));
        loaded_ = true;
    }
    void finish() {
        vokari::unload_module(module_);
        loaded_ = false;
    }

    Spoken speak(const std::string& script) {
        player_.clear();
        const std::string request = "EXECUTE MAKOTO/2.0\r\nString: " + sjis(script) + "\r\nCharset: Shift_JIS\r\n\r\n";
        host_calls::Response response;
        handle_request(request.c_str(), response.bytes);
        Spoken spoken;
        const std::string head = "MAKOTO/2.0 200 OK\r\nString: ";
        const std::string tail = "\r\nCharset: Shift_JIS\r\n\r\n";
        EXPECT_EQ(response.bytes.compare(0, head.size(), head), 0) << response.bytes;
        if (response.bytes.size() >= head.size() + tail.size())
            spoken.reply = utf8(response.bytes.substr(head.size(), response.bytes.size() - head.size() - tail.size()));
        for (const recording::PlayerCall& call : player_.calls()) {
            if (call.kind != recording::PlayerCall::Play) continue;
            spoken.played = true;
            spoken.samples.assign(call.bytes.begin() + 58, call.bytes.end());
        }
        spoken.timeline = request_.timeline;
        return spoken;
    }

    // The image the module renders for `script`, whether or not it is played.
    std::vector<std::uint8_t> image_of(const std::string& script) {
        Spoken spoken = speak(script);
        EXPECT_TRUE(spoken.played) << script;
        return spoken.samples;
    }

    std::string log_text() const {
        std::string text = fixture::read_text(folder_ + "/vokari.log");
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return utf8(text);
    }

    std::string root_;
    std::string folder_;
    bool loaded_ = false;
    recording::RecordingPlayer player_;
};

TEST_F(GuideExamples, PackagedSettingsChangeNothing) {
    make_voice({{}, true, true, true, false});
    put("packaging/vokari.txt", "vokari.txt");
    load();
    EXPECT_EQ(settings_fields(), SettingsFields("", '@', 130, 1.0, 1.0, 0, 0));
    EXPECT_EQ(settings.message_speed, 66);
    EXPECT_TRUE(sound_effects.empty());
    EXPECT_EQ(translation_dictionary.size(), 45u);  // the built-in pairs only
    const Spoken with_file = speak("こんにちは");
    finish();
    fs::remove(folder_ + "/vokari.txt");
    load();
    const Spoken without_file = speak("こんにちは");
    EXPECT_EQ(with_file.samples, without_file.samples);
    EXPECT_EQ(with_file.reply, without_file.reply);
}

TEST_F(GuideExamples, CharacterSettingsAndTheirLog) {
    fixture::VoiceOptions options;
    options.with_partner_consonants = false;
    make_voice(options);
    put("docs/examples/character/vokari.txt", "vokari.txt");
    put("packaging/dictionary.txt", "dictionary.txt");
    fs::create_directories(root_ + "/host/profile");
    ASSERT_TRUE(fixture::write_text(root_ + "/host/profile/mainform.txt", "messagespeed,30\r\n"));
    load();
    EXPECT_EQ(settings.talk_default_speed, 150);
    EXPECT_DOUBLE_EQ(settings.speaker_frequency[1], 0.9);
    EXPECT_EQ(settings.message_speed, 40);
    ASSERT_EQ(sound_effects.size(), 2u);
    EXPECT_EQ(sound_effects[0].name, "chime");
    EXPECT_EQ(sound_effects[1].name, "knock");
    EXPECT_EQ(translation_dictionary.size(), 45u + 5u);
    speak("\\0今日はvokariです。@a[knock]");
    finish();

    // The log, with the session's dates, times and folders replaced by the
    // ones the guide shows.
    std::string log = log_text();
    const std::string root = windows_path(root_);
    for (std::size_t at; (at = log.find(root)) != std::string::npos;) log.replace(at, root.size(), "C:");
    // VOKARI_GUIDE_LOG=<file> saves this session's log there, to refresh the
    // example after a deliberate change of the log.
    if (const char* save = std::getenv("VOKARI_GUIDE_LOG")) fixture::write_text(save, log);
    const std::string example = example_text("docs/examples/log/vokari.log");
    EXPECT_EQ(fixture::normalised_log(log), fixture::normalised_log(example)) << "the log of this session is:\n" << log;
}

TEST_F(GuideExamples, DictionaryChangesTheVoiceButNotTheText) {
    make_voice();
    put("packaging/dictionary.txt", "dictionary.txt");
    ASSERT_TRUE(fixture::write_text(folder_ + "/vokari.txt", "voice.translate.dic,dictionary.txt\r\n"));
    load();
    const Spoken written = speak("今日はvokariです。OK");
    const Spoken said = speak("きょうはぼかりです。おーけー");
    EXPECT_EQ(written.samples, said.samples);
    EXPECT_EQ(std::regex_replace(written.reply, std::regex("\\\\_w\\[\\d+\\]"), ""), "今日はvokariです。OK");
    const Spoken best = speak("明日は最高");
    EXPECT_EQ(best.samples, speak("あしたは@+[3]さいこう@=").samples);
    EXPECT_EQ(std::regex_replace(best.reply, std::regex("\\\\_w\\[\\d+\\]"), ""), "明日は最高");
}

TEST_F(GuideExamples, DetailsTuneTheSlot) {
    make_voice();
    put("docs/examples/details.txt", "vokaric0/details.txt");
    load();
    const vokari::PhonemeSlot& ka = phoneme_bank.slots[0][5];
    EXPECT_EQ(ka.vowel_delay, 900);
    EXPECT_EQ(ka.loop_chunk_offset, 1200);
    EXPECT_DOUBLE_EQ(ka.correct_frequency, 1.02);
    EXPECT_DOUBLE_EQ(ka.correct_level, 1.1);
    EXPECT_DOUBLE_EQ(phoneme_bank.consonant_frequency[0], 1.0);
    EXPECT_DOUBLE_EQ(phoneme_bank.consonant_level[0], 0.8);
    // か: the consonant at once, its vowel 900 samples later fading in over 1200.
    const Spoken spoken = speak("か");
    const auto& events = spoken.timeline.phoneme_events[0];
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].time, 1000);
    EXPECT_EQ(events[0].slot, 5);
    EXPECT_EQ(events[1].time, 1900);
    EXPECT_EQ(events[1].slot, 0);
    EXPECT_EQ(events[1].fade_in, 1200);
}

TEST_F(GuideExamples, TextKeepsPaceWithTheVoice) {
    make_voice();
    load();
    const std::vector<std::string> script = lines_of(example_text("docs/examples/pace/script.txt"));
    const std::vector<std::string> reply = lines_of(example_text("docs/examples/pace/reply.txt"));
    ASSERT_EQ(script.size(), 1u);
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_EQ(speak(script[0]).reply, reply[0]);
}

bool near(double a, double b) { return std::fabs(a - b) < 1e-4; }
const double kStep = 1.014546;

// The fixture as the checks of the script lines use it.
class LineExamples : public GuideExamples {
public:
    Spoken say(const std::string& script) { return speak(script); }
    std::vector<std::uint8_t> image(const std::string& script) { return image_of(script); }
    const std::string& module() const { return folder_; }
    int effect_number(const std::string& name) { return find_sound_effect(name); }
    const std::vector<vokari::SoundEffect>& effects() const { return sound_effects; }
};

// What each script line of the guide must do, keyed by the line.
using Check = std::function<void(LineExamples&, const Spoken&)>;

void expect_controls(const Spoken& s, int speaker, const std::vector<std::pair<int, double>>& expected) {
    const auto actual = s.controls(speaker);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].first, expected[i].first) << i;
        EXPECT_TRUE(near(actual[i].second, expected[i].second)) << i << ": " << actual[i].second;
    }
}

std::string without_waits(const std::string& reply) {
    return std::regex_replace(reply, std::regex("\\\\_w\\[-?\\d+\\]"), "");
}

std::map<std::string, Check> line_checks() {
    using vokari::LevelAdd;
    using vokari::LevelSet;
    using vokari::LevelSubtract;
    using vokari::PitchDivide;
    using vokari::PitchMultiply;
    using vokari::PitchSet;
    // The line's events, and a measure beyond `ratio` times the one of `base`
    // (above it for a ratio over 1, else below it).
    auto beyond = [](double (*measure)(const Spoken&)) {
        return [=](const std::string& base, double ratio, std::vector<std::pair<int, double>> events) {
            return Check([=](LineExamples& g, const Spoken& s) {
                expect_controls(s, 0, events);
                const double line = measure(s), limit = measure(g.say(base)) * ratio;
                if (ratio > 1) EXPECT_GT(line, limit);
                else EXPECT_LT(line, limit);
            });
        };
    };
    auto louder = beyond([](const Spoken& s) { return static_cast<double>(s.energy()); });
    auto higher = beyond([](const Spoken& s) { return static_cast<double>(s.zero_crossings()); });
    // Energy of the late part of the k-th character (0-based) at 130 ms, where
    // only that character's vowel sounds.
    auto window = [](const Spoken& s, int k) {
        const std::size_t start = static_cast<std::size_t>(vokari::ms_to_samples(130 * k));
        return s.energy(start + 2300, start + 2860);
    };
    auto same_tail_as = [](const std::string& base) {
        return [=](LineExamples& g, const Spoken& s) {
            const Spoken b = g.say(base);
            ASSERT_EQ(s.samples.size(), b.samples.size());
            EXPECT_EQ(s.tail(3000), b.tail(3000)) << "the end does not sound as it does without the tags";
        };
    };
    auto sounds_like = [](const std::string& base) {
        return Check([=](LineExamples& g, const Spoken& s) {
            EXPECT_EQ(s.samples, g.image(base)) << "does not sound like " << base;
        });
    };
    auto lasts_ms = [](int ms) {
        return Check([=](LineExamples&, const Spoken& s) {
            EXPECT_EQ(s.samples.size(), static_cast<std::size_t>(vokari::ms_to_samples(ms)));
        });
    };

    std::map<std::string, Check> checks;
    checks["@+[5]ねえ、きいて！"] = louder("ねえ、きいて！", 1.3, {{LevelAdd, 0.5}});
    checks["@-[3]ないしょだよ"] = louder("ないしょだよ", 0.85, {{LevelSubtract, 0.3}});
    checks["@+あ@+あ@+あ"] = [=](LineExamples&, const Spoken& s) {
        expect_controls(s, 0, {{LevelAdd, 0.1}, {LevelAdd, 0.1}, {LevelAdd, 0.1}});
        EXPECT_GT(window(s, 2), window(s, 0) * 1.1);
    };
    checks["@-あ@-あ@-あ"] = [=](LineExamples&, const Spoken& s) {
        expect_controls(s, 0, {{LevelSubtract, 0.1}, {LevelSubtract, 0.1}, {LevelSubtract, 0.1}});
        EXPECT_LT(window(s, 2), window(s, 0) * 0.9);
    };
    checks["@+[10]わあ！@=ふつうのこえ"] = [=](LineExamples& g, const Spoken& s) {
        expect_controls(s, 0, {{LevelAdd, 1.0}, {LevelSet, 1.0}});
        EXPECT_GT(window(s, 1), window(g.say("わあ！ふつうのこえ"), 1) * 1.5);
        same_tail_as("わあ！ふつうのこえ")(g, s);
    };
    checks["@0+[5]おーい！"] = louder("おーい！", 1.3, {{LevelSet, 1.5}});
    checks["@0-[5]おやすみ"] = louder("おやすみ", 0.7, {{LevelSet, 0.5}});
    checks["@0+ちょっとおおきく"] = louder("ちょっとおおきく", 1.05, {{LevelSet, 1.1}});
    checks["@0-ちょっとちいさく"] = louder("ちょっとちいさく", 0.95, {{LevelSet, 0.9}});
    checks["@<[12]たかいこえ"] = higher("たかいこえ", 1.05, {{PitchMultiply, std::pow(kStep, 12)}});
    checks["@>[12]ひくいこえ"] = higher("ひくいこえ", 0.95, {{PitchDivide, std::pow(kStep, 12)}});
    checks["@<あ@<あ@<あ"] = [](LineExamples& g, const Spoken& s) {
        expect_controls(s, 0, {{PitchMultiply, kStep}, {PitchMultiply, kStep}, {PitchMultiply, kStep}});
        EXPECT_NE(s.samples, g.image("あああ"));
    };
    checks["@>あ@>あ@>あ"] = [](LineExamples& g, const Spoken& s) {
        expect_controls(s, 0, {{PitchDivide, kStep}, {PitchDivide, kStep}, {PitchDivide, kStep}});
        EXPECT_NE(s.samples, g.image("あああ"));
    };
    checks["@<[24]たかく@|もとどおり"] = [=](LineExamples& g, const Spoken& s) {
        expect_controls(s, 0, {{PitchMultiply, std::pow(kStep, 24)}, {PitchSet, 1.0}});
        same_tail_as("たかくもとどおり")(g, s);
    };
    checks["@0<[48]いっきにたかく"] = higher("いっきにたかく", 1.5, {{PitchSet, std::pow(kStep, 48)}});
    checks["@0>[48]いっきにひくく"] = higher("いっきにひくく", 0.7, {{PitchSet, 1 / std::pow(kStep, 48)}});
    checks["@0<すこしたかく"] = [](LineExamples&, const Spoken& s) { expect_controls(s, 0, {{PitchSet, kStep}}); };
    checks["@0>すこしひくく"] = [](LineExamples&, const Spoken& s) { expect_controls(s, 0, {{PitchSet, 1 / kStep}}); };
    checks["@u[4]@<[12]オクターブうえ"] = higher("オクターブうえ", 1.5, {{PitchMultiply, 2.0}});
    checks["@s[200]ゆっくり@sふつう"] = lasts_ms(4 * 200 + 3 * 130 + 130);
    checks["@s[80]はやくちことば"] = lasts_ms(7 * 80 + 80);
    checks["こんにち@wは"] = sounds_like("こんにちわ");
    checks["\\0@bねえ\\1うん\\0それでね"] = [](LineExamples& g, const Spoken& s) {
        const Spoken b = g.say("\\0ねえ\\1うん\\0それでね");
        const std::int32_t back_to_main = vokari::ms_to_samples(4 * 130);
        EXPECT_EQ(b.silences(1, back_to_main), 1);  // normally the partner is cut here
        EXPECT_EQ(s.silences(1, back_to_main), 0);  // with @b it rings on
        EXPECT_GT(s.energy(back_to_main, back_to_main + 2000), b.energy(back_to_main, back_to_main + 2000));
    };
    checks["はい@:\\_w[500]どうぞ"] = [](LineExamples& g, const Spoken& s) {
        const Spoken b = g.say("はい\\_w[500]どうぞ");
        const std::size_t from = vokari::ms_to_samples(260) + 2500;
        const std::size_t to = vokari::ms_to_samples(760);
        EXPECT_EQ(s.silences(0, vokari::ms_to_samples(260)), 1);
        EXPECT_GT(b.energy(from, to), 0);
        EXPECT_LT(s.energy(from, to) * 10, b.energy(from, to));
    };
    checks["@nこのせりふはしゃべらない"] = [](LineExamples&, const Spoken& s) {
        EXPECT_FALSE(s.played);
        EXPECT_EQ(s.reply, "このせりふはしゃべらない");
    };
    checks["ここまで@eここからはだまってひょうじ"] = [=](LineExamples& g, const Spoken& s) {
        lasts_ms(4 * 130 + 130)(g, s);
        EXPECT_EQ(without_waits(s.reply), "ここまでここからはだまってひょうじ");
    };
    checks["@oきこえるけどみえない"] = [](LineExamples&, const Spoken& s) {
        EXPECT_TRUE(s.played);
        EXPECT_TRUE(std::regex_match(s.reply, std::regex("(\\\\_w\\[\\d+\\]){10}"))) << s.reply;
    };
    checks["@a[chime]ピンポーン"] = [](LineExamples& g, const Spoken& s) {
        expect_controls(s, 0, {{vokari::PlaySoundEffect, static_cast<double>(g.effect_number("chime"))}});
        EXPECT_GE(g.effect_number("chime"), 0);
        const std::vector<std::uint8_t> plain = g.image("ピンポーン");
        EXPECT_NE(s.samples, plain);
        EXPECT_EQ(g.image("@a[nosuchsound]ピンポーン"), plain);  // an undeclared name plays nothing
    };
    checks["@wavout[greeting.wav]こんにちは"] = [](LineExamples& g, const Spoken& s) {
        EXPECT_TRUE(s.played);
        const std::string file = fixture::read_text(g.module() + "/greeting.wav");
        ASSERT_GT(file.size(), 58u);
        EXPECT_EQ(file.substr(58), std::string(s.samples.begin(), s.samples.end()));
        fs::remove(g.module() + "/greeting.wav");
    };
    checks["@wavouts[greeting.wav]こんにちは"] = [](LineExamples& g, const Spoken& s) {
        EXPECT_FALSE(s.played);
        const std::string file = fixture::read_text(g.module() + "/greeting.wav");
        fs::remove(g.module() + "/greeting.wav");
        const std::vector<std::uint8_t> plain = g.image("こんにちは");
        ASSERT_GT(file.size(), 58u);
        EXPECT_EQ(file.substr(58), std::string(plain.begin(), plain.end()));
    };
    checks["@wavouts[take.wav,chime,1]ただいま"] = [](LineExamples& g, const Spoken& s) {
        EXPECT_FALSE(s.played);
        EXPECT_FALSE(fs::exists(g.module() + "/take.wav"));
        const int chime = g.effect_number("chime");
        ASSERT_GE(chime, 0);
        const std::vector<std::uint8_t> recorded = g.effects()[chime].data;
        EXPECT_EQ(recorded, g.image("ただいま"));
    };
    checks["@g[1]@p[1]あいう"] = sounds_like("あいう");

    // The host's tags.
    checks["\\0こんにちは\\1やあ"] = [](LineExamples&, const Spoken& s) {
        int partner_sounds = 0;
        for (const auto& event : s.timeline.phoneme_events[1])
            if (event.slot >= 0) ++partner_sounds;
        EXPECT_EQ(partner_sounds, 3);                                 // や (onset and vowel), あ
        EXPECT_EQ(s.silences(0, vokari::ms_to_samples(5 * 130)), 1);  // the main character is cut at \1
    };
    checks["はい\\w9どうぞ"] = lasts_ms(5 * 130 + 130 + 450);
    checks["はい\\_w[300]どうぞ"] = lasts_ms(5 * 130 + 130 + 300);
    checks["いち\\nに"] = sounds_like("いちに");
    checks["\\s[5]えがお"] = sounds_like("えがお");
    checks["えん\\\\マーク"] = [](LineExamples& g, const Spoken& s) {
        EXPECT_EQ(s.samples.size(), static_cast<std::size_t>(vokari::ms_to_samples(6 * 130 + 130)));
        EXPECT_EQ(s.samples, g.image("えん・マーク"));
    };
    return checks;
}

TEST_F(LineExamples, EveryScriptLineDoesWhatTheGuideSays) {
    make_voice();
    load();
    const std::map<std::string, Check> checks = line_checks();
    int run = 0;
    for (const Example& example : example_files()) {
        if (!example.per_line) continue;
        for (const std::string& line : lines_of(example.text)) {
            SCOPED_TRACE(example.name + ": " + line);
            auto check = checks.find(line);
            if (check == checks.end()) {
                ADD_FAILURE() << "no check for the example script " << line;
                continue;
            }
            // Each line starts from the loaded voice: a sound file may have
            // replaced an effect.
            finish();
            load();
            const Spoken spoken = say(line);
            check->second(*this, spoken);
            ++run;
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(run), checks.size()) << "a check has no example line left";
}

}  // namespace
