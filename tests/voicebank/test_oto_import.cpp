// vokari-voicebank --oto on CV banks that the tests make themselves:
// espeak-ng recordings cut into kana-named files, with oto.ini files that
// record known offsets.  Each imported bank must load with every mapped slot
// filled, keep the vowel where the oto.ini puts it, loop seamlessly and
// speak a sentence through the module's exports.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "audio_input.h"
#include "espeak_recording.h"
#include "program_runner.h"
#include "sample_shaping.h"
#include "base/mulaw.h"
#include "base/wav_format.h"
#include "vokari_voice_format.h"
#include "syllables.h"
#include "tools/text/shift_jis.h"
#include "tools/text/utf8.h"
#include "details_file.h"

using namespace vokari::voicebank;
using program_runner::fresh_folder;
using program_runner::ProgramRun;
namespace fs = std::filesystem;

namespace {

// The syllables of the test banks: every vowel and enough consonants for
// "こんにちは、さくらです。" and more.
const char* const kBankSyllables[] = {"a",   "i",  "u",  "e",  "o",  "n",  "ka", "ku", "ko", "sa", "shi", "su", "ta",
                                      "chi", "to", "na", "ni", "no", "ha", "ma", "ra", "wa", "de", "da",  "ga", "kya"};

struct Recorded {
    int slot = -1;
    std::vector<float> samples;  // 22050 Hz mono
    double offset_ms = 0.0;      // where the oto.ini entry starts
    double preutterance_ms = 0.0;
    double end_ms = 0.0;  // where it cuts, from the start of the file
    double file_ms = 0.0;
};

double rounded_ms(long samples) { return std::round(samples * 10000.0 / kBankRate) / 10.0; }

const std::vector<Recorded>& recordings() {
    static std::vector<Recorded> all;
    if (!all.empty()) return all;
    for (const char* romaji : kBankSyllables) {
        Recorded r;
        r.slot = slot_of_romaji(romaji);
        const EspeakRecording recording = record_with_espeak(recording_text(r.slot), bundled_voice(0));
        EXPECT_TRUE(recording.error.empty() && recording.rate == kBankRate) << recording.error;
        const Span sound = sound_span(recording.samples);
        r.samples = recording.samples;
        r.offset_ms = rounded_ms(std::max(0L, sound.begin - 110));
        r.preutterance_ms = rounded_ms(std::max(vowel_start(recording), sound.begin)) - r.offset_ms;
        r.end_ms = rounded_ms(sound.end - 220);
        r.file_ms = r.samples.size() * 1000.0 / kBankRate;
        all.push_back(r);
    }
    return all;
}

std::string hiragana(int slot) { return kSyllables[slot].kana; }

std::string katakana(int slot) { return vokari::text::hiragana_to_katakana(kSyllables[slot].kana); }

struct BankFormat {
    std::string encoding = "UTF-8";  // "UTF-8", "UTF-8 with BOM" or "Shift_JIS"
    int rate = kBankRate;
    int channels = 1;
    int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
};

void write_recording(const fs::path& path, const std::vector<float>& samples, const BankFormat& format) {
    const std::vector<float> at_rate = resample(samples, kBankRate, format.rate);
    std::vector<float> frames;
    for (float v : at_rate) frames.insert(frames.end(), static_cast<size_t>(format.channels), v);
    SF_INFO info{};
    info.samplerate = format.rate;
    info.channels = format.channels;
    info.format = format.format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path;
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(at_rate.size()));
    sf_close(file);
}

// One oto.ini being written, counting its lines.
class OtoWriter {
public:
    // Adds a line; returns its 1-based number.
    int line(const std::string& text) {
        text_ += text + "\r\n";
        return ++lines_;
    }
    // The entry of recording `r` in file `file` under `alias`; even slots
    // give the cutoff from the end of the file, odd ones as a length.
    int entry(const std::string& file, const std::string& alias, const Recorded& r, double extra_preutterance = 0.0) {
        const double cutoff = r.slot % 2 == 0 ? r.file_ms - r.end_ms : -(r.end_ms - r.offset_ms);
        char values[160];
        std::snprintf(values, sizeof values, ",%.1f,%.1f,%.3f,%.1f,%.1f", r.offset_ms,
                      r.preutterance_ms + extra_preutterance + 30.0, cutoff, r.preutterance_ms + extra_preutterance,
                      r.slot % 3 == 0 ? -8.0 : r.preutterance_ms / 3);
        return line(file + "=" + alias + values);
    }
    void save(const fs::path& path, const std::string& encoding) const {
        std::ofstream out(path, std::ios::binary);
        if (encoding == "Shift_JIS") {
            out << vokari::text::utf8_to_shift_jis(text_).shift_jis;
        } else {
            out << (encoding == "UTF-8 with BOM" ? "\xEF\xBB\xBF" : "") << text_;
        }
    }

private:
    std::string text_;
    int lines_ = 0;
};

// A bank of all test syllables in one folder: kana file names, aliases
// alternating between the file name, katakana and romaji, each syllable
// preceded by a phrase-start entry that must lose against the plain one.
fs::path plain_bank(const std::string& name, const BankFormat& format) {
    const fs::path bank = fresh_folder(name);
    OtoWriter oto;
    int k = 0;
    for (const Recorded& r : recordings()) {
        const std::string file = hiragana(r.slot) + ".wav";
        write_recording(bank / file, r.samples, format);
        oto.entry(file, "- " + hiragana(r.slot), r, 40.0);
        const int style = k++ % 3;
        oto.entry(file, style == 0 ? "" : style == 1 ? katakana(r.slot) : kSyllables[r.slot].romaji, r);
    }
    oto.save(bank / "oto.ini", format.encoding);
    return bank;
}

std::vector<float> decoded_sample(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::vector<float> x;
    for (size_t i = vokari::kWavHeaderSize; i < bytes.size(); ++i) {
        x.push_back(static_cast<float>(vokari::mulaw_decode_table[static_cast<unsigned char>(bytes[i])] / 8158.0));
    }
    return x;
}

// The shift, within +-2 ms (less than half a pitch period, so a voiced
// start cannot match a period away), at which `sample` best matches
// `recording` taken from `offset` on (correlation over 50 ms).
long best_lag(const std::vector<float>& sample, const std::vector<float>& recording, long offset) {
    long best = 0;
    double best_score = -1e300;
    for (long lag = -44; lag <= 44; ++lag) {
        double score = 0.0;
        for (long i = 0; i < 1102 && i < static_cast<long>(sample.size()); ++i) {
            const long j = offset + lag + i;
            if (j >= 0 && j < static_cast<long>(recording.size()))
                score += static_cast<double>(sample[i]) * recording[j];
        }
        if (score > best_score) {
            best_score = score;
            best = lag;
        }
    }
    return best;
}

fs::path directory_of(const fs::path& module, int slot) {
    return module / (is_vowel_syllable(slot) ? "vokariv0" : "vokaric0");
}

// Imports `bank` into a fresh module folder and checks the result for the
// slots of `expected`; returns the module folder.
fs::path import_and_check(const fs::path& bank, const std::string& name, const std::vector<Recorded>& expected,
                          const std::vector<std::string>& extra_arguments = {}) {
    const fs::path module = fresh_folder(name);
    std::vector<std::string> arguments = {"--oto"};
    arguments.insert(arguments.end(), extra_arguments.begin(), extra_arguments.end());
    arguments.push_back(bank.string());
    arguments.push_back(module.string());
    const ProgramRun run = program_runner::voicebank(arguments);
    EXPECT_EQ(run.status, 3) << run.err;  // the test banks leave slots empty
    EXPECT_NE(run.out.find(std::to_string(expected.size()) + " of 107 slots mapped"), std::string::npos) << run.out;

    const auto vowel_details = voicebank_test::read_details((module / "vokariv0" / "details.txt").string());
    const auto consonant_details = voicebank_test::read_details((module / "vokaric0" / "details.txt").string());
    std::string pattern[2] = {std::string(kSyllableCount, '-'), std::string(kSyllableCount, '-')};
    for (const Recorded& r : expected) {
        const std::string syllable = kSyllables[r.slot].romaji;
        const bool vowel = is_vowel_syllable(r.slot);
        pattern[vowel ? 0 : 1][static_cast<size_t>(r.slot)] = 'o';
        const auto& details = vowel ? vowel_details : consonant_details;
        if (!details.count(r.slot)) {
            ADD_FAILURE() << syllable << " has no details in " << name;
            continue;
        }
        const std::map<std::string, double>& d = details.at(r.slot);
        const std::vector<float> x = decoded_sample(directory_of(module, r.slot) / (std::to_string(r.slot) + ".wav"));
        if (x.size() <= 441u) {
            ADD_FAILURE() << syllable << ": sample of " << x.size() << " samples";
            continue;
        }
        if (!vowel) {
            // Written in output samples, at the slot's playback rate.
            const double delay_ms = d.at("adjust.vowel.delay") * d.at("correct.frequency") * 1000.0 / kBankRate;
            EXPECT_NEAR(delay_ms, r.preutterance_ms, 1.0) << syllable << " in " << name;
            // And the sample is the recording from OFFSET on: it matches the
            // recording best within 1 ms of there.
            EXPECT_LE(std::abs(best_lag(x, r.samples, std::lround(r.offset_ms * kBankRate / 1000.0))), 22)
                << syllable << " in " << name;
            continue;
        }
        // At rate 1 the renderer plays x[n - 2] and then x[loop start].
        const long start = static_cast<long>(d.at("loopchunkofset"));
        const long n = static_cast<long>(x.size());
        if (start <= 0 || start >= n - 100) {
            ADD_FAILURE() << syllable << ": loop start " << start << " in " << n << " samples";
            continue;
        }
        double largest = 0.0;
        for (long i = start; i + 1 <= n - 2; ++i)
            largest = std::max(largest, std::fabs(static_cast<double>(x[i + 1]) - x[i]));
        EXPECT_LE(std::fabs(static_cast<double>(x[start]) - x[n - 2]), largest) << syllable << " in " << name;
    }

    // Loaded through the module's exports: the load log shows which slots
    // each sample directory filled, and the module speaks a sentence.
    std::ofstream(module / "vokari.txt") << "log,imported-check.log\n";
    std::ofstream(module / "expected-slots.txt") << "vokariv0 : " << pattern[0] << " Done.\n"
                                                 << "vokaric0 : " << pattern[1] << " Done.\n";
    const std::string command = std::string("'") + IMPORTED_VOICE_CHECK + "' '" + VOKARI_LIBRARY + "' '" +
                                module.string() + "' > '" + module.string() + "/check.out' 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream check_out(module / "check.out");
    EXPECT_EQ(status, 0) << name << ":\n" << std::string(std::istreambuf_iterator<char>(check_out), {});
    return module;
}

}  // namespace

TEST(OtoImport, ShiftJisBanksInMono16BitAndStereo24BitAt44100ImportAlike) {
    const fs::path mono =
        import_and_check(plain_bank("oto_sjis", BankFormat{"Shift_JIS"}), "oto_sjis_module", recordings());
    BankFormat format{"Shift_JIS", 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_24};
    const fs::path stereo = import_and_check(plain_bank("oto_stereo", format), "oto_stereo_module", recordings());
    for (const char* directory : {"vokariv0", "vokaric0"}) {
        const auto a = voicebank_test::read_details((stereo / directory / "details.txt").string());
        for (const auto& [slot, values] : voicebank_test::read_details((mono / directory / "details.txt").string())) {
            const char* name = kSyllables[slot].romaji;
            EXPECT_NEAR(a.at(slot).at("correct.level"), values.at("correct.level"), 0.05 * values.at("correct.level"))
                << name;
            EXPECT_NEAR(a.at(slot).at("correct.frequency"), values.at("correct.frequency"), 0.01) << name;
        }
    }
    // The Windows build checks the same bank through vokari.dll under wine.
    const fs::path shared(IMPORTED_VOICE_DIR);
    fs::remove_all(shared);
    fs::create_directories(shared.parent_path());
    fs::copy(stereo, shared, fs::copy_options::recursive);
}

TEST(OtoImport, BadEntriesAreNamedByLineAndVcvIsCounted) {
    const fs::path bank = fresh_folder("oto_bad");
    OtoWriter oto;
    std::map<std::string, int> line;
    const Recorded& ka = recordings()[6];
    line["vcv"] = oto.entry("か.wav", "a か", ka);
    oto.entry("か.wav", "i か", ka);
    for (const Recorded& r : recordings()) {
        write_recording(bank / (hiragana(r.slot) + ".wav"), r.samples, BankFormat{});
        oto.entry(hiragana(r.slot) + ".wav", "", r);
    }
    line["duplicate"] = oto.entry("か.wav", "か", ka, 25.0);
    line["missing"] = oto.entry("ぬ.wav", "ぬ", ka);
    line["broken"] = oto.line("this is not an entry");
    line["fields"] = oto.line("ふ.wav=ふ,10,20");
    line["number"] = oto.line("け.wav=け,10,abc,-300,50,0");
    Recorded late = ka;
    late.offset_ms = ka.file_ms + 100.0;
    line["past end"] = oto.entry("か.wav", "せ", late);
    Recorded negative = ka;
    negative.offset_ms = -5.0;
    line["negative"] = oto.entry("か.wav", "そ", negative);
    line["crossing"] = oto.entry("か.wav", "ほ", ka, 5000.0);
    oto.save(bank / "oto.ini", "UTF-8 with BOM");

    const fs::path module = fresh_folder("oto_bad_module");
    const ProgramRun run = program_runner::voicebank({"--oto", bank.string(), module.string()});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.out.find("2 entries ignored (VCV"), std::string::npos) << run.out;
    const std::map<std::string, std::string> says = {
        {"duplicate", "again"},     {"missing", "missing WAV"},   {"broken", "broken line"}, {"fields", "3 fields"},
        {"number", "not a number"}, {"past end", "past the end"}, {"negative", "negative"},  {"crossing", "crossing"},
    };
    for (const auto& [what, text] : says) {
        const std::string where = "oto.ini:" + std::to_string(line[what]) + ": ";
        const size_t at = run.err.find(where);
        ASSERT_NE(at, std::string::npos) << what << "\n" << run.err;
        EXPECT_NE(run.err.substr(at, run.err.find('\n', at) - at).find(text), std::string::npos) << what;
    }
    // The bad entries fill nothing; the good ones fill their slots, and the
    // first か wins over the later duplicate.
    for (const char* empty : {"nu", "fu", "ke", "se", "so", "ho"}) {
        EXPECT_FALSE(fs::exists(module / "vokaric0" / (std::to_string(slot_of_romaji(empty)) + ".wav"))) << empty;
    }
    const auto details = voicebank_test::read_details((module / "vokaric0" / "details.txt").string()).at(ka.slot);
    EXPECT_NEAR(details.at("adjust.vowel.delay") * details.at("correct.frequency") * 1000.0 / kBankRate,
                ka.preutterance_ms, 1.0);
}

TEST(OtoImport, SubFoldersAreReadTogetherOrOneByOne) {
    const fs::path bank = fresh_folder("oto_folders");
    OtoWriter root, low, high;
    std::vector<Recorded> in_low;
    fs::create_directories(bank / "low");
    fs::create_directories(bank / "high");
    for (const Recorded& r : recordings()) {
        // n in the bank's own folder, the other vowels and every second
        // consonant in low/, the rest in high/.
        const bool in_root = r.slot == slot_of_romaji("n");
        const bool to_low = !in_root && (is_vowel_syllable(r.slot) || r.slot % 2 == 0);
        const fs::path folder = in_root ? bank : to_low ? bank / "low" : bank / "high";
        const std::string file = std::string(kSyllables[r.slot].romaji) + ".wav";
        write_recording(folder / file, r.samples, BankFormat{});
        (in_root ? root : to_low ? low : high).entry(file, hiragana(r.slot), r);
        if (to_low) in_low.push_back(r);
    }
    root.save(bank / "oto.ini", "UTF-8");
    low.save(bank / "low" / "oto.ini", "UTF-8 with BOM");
    high.save(bank / "high" / "oto.ini", "Shift_JIS");
    import_and_check(bank, "oto_folders_module", recordings());
    import_and_check(bank, "oto_low_module", in_low, {"--subbank", "low"});

    const fs::path module = fresh_folder("oto_folders_missing");
    const ProgramRun missing =
        program_runner::voicebank({"--oto", "--subbank", "middle", bank.string(), module.string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("middle"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(module));
}

// A bank recorded at two pitches repeats its aliases in the second
// sub-bank: one line for that sub-bank, after the real problems.
TEST(OtoImport, AliasesRepeatedAcrossSubBanksAreOneLineAfterTheProblems) {
    const fs::path bank = fresh_folder("oto_pitches");
    OtoWriter normal, soft;
    fs::create_directories(bank / "normal");
    fs::create_directories(bank / "soft");
    for (size_t i = 0; i < recordings().size(); ++i) {
        const Recorded& r = recordings()[i];
        const std::string file = hiragana(r.slot) + ".wav";
        write_recording(bank / "normal" / file, r.samples, BankFormat{});
        normal.entry(file, "", r);
        if (i >= 3) continue;
        write_recording(bank / "soft" / file, r.samples, BankFormat{});
        soft.entry(file, "", r);
    }
    const int missing = soft.entry("ぬ.wav", "ぬ", recordings()[0]);
    normal.save(bank / "normal" / "oto.ini", "UTF-8");
    soft.save(bank / "soft" / "oto.ini", "UTF-8");

    const ProgramRun run =
        program_runner::voicebank({"--oto", bank.string(), fresh_folder("oto_pitches_module").string()});
    const size_t problem = run.err.find("soft/oto.ini:" + std::to_string(missing) + ": ");
    const size_t summary = run.err.find("soft/oto.ini: 3 aliases already given by an earlier oto.ini");
    ASSERT_NE(problem, std::string::npos) << run.err;
    ASSERT_NE(summary, std::string::npos) << run.err;
    EXPECT_LT(problem, summary);
    EXPECT_EQ(run.err.find("again"), std::string::npos) << run.err;
}

TEST(OtoImport, AnEncodingItCannotTellChangesNothing) {
    const fs::path bank = fresh_folder("oto_mixed");
    // Line 1 Shift_JIS, line 2 UTF-8: the file is neither.
    std::ofstream(bank / "oto.ini", std::ios::binary)
        << vokari::text::utf8_to_shift_jis("か.wav=か,1,2,-300,4,0").shift_jis << "\r\n"
        << "き.wav=き,1,2,-300,4,0\r\n";
    const fs::path module = fresh_folder("oto_mixed_module");
    std::ofstream(module / "vokari.txt") << "old";
    const ProgramRun run = program_runner::voicebank({"--oto", bank.string(), module.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("oto.ini:2: cannot tell the encoding"), std::string::npos) << run.err;
    EXPECT_EQ(program_runner::snapshot(module.string()).size(), 1u);
}
