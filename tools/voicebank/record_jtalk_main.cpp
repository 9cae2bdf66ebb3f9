// vokari-jtalk-record: records the bank's 107 syllables with Open JTalk's
// trained voice, one file per syllable named by its romaji, and an oto.ini
// that marks where each vowel starts, ready for vokari-voicebank --oto.
//
//   vokari-jtalk-record [--speaker N] [--half-tones F] [--all-pass A] [--speed R]
//                       [--program P] [--dictionary DIR] [--voice FILE] OUT_DIR
//
// --speaker starts from the bundled voice of that speaker; the other options
// change single settings of it.  A vowel is spoken alone and held
// ("あーーーーね", cut before its "ね"); a consonant syllable is spoken after
// a vowel, inside a word ("あかーーね"), at the voice's own tempo, so its
// consonant has the length the voice's duration model gives it there, and
// is cut where the labels put the vowel.  Every vowel is then read back at
// the bank's common pitch.  Standard output gets one comment line per
// syllable for the bank's details (text, consonant, its length in the model
// and as kept).  Nothing is written unless every syllable was recorded.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "audio_input.h"
#include "jtalk_recording.h"
#include "recording_file.h"
#include "sample_shaping.h"
#include "syllables.h"
#include "tools/text/utf8.h"

namespace fs = std::filesystem;
using namespace vokari::voicebank;

namespace {

constexpr const char* kUsage =
    "usage: vokari-jtalk-record [--speaker N] [--half-tones F] [--all-pass A] [--speed R]\n"
    "                           [--program P] [--dictionary DIR] [--voice FILE] OUT_DIR\n";

// A vowel held by long-vowel marks and followed by "ね": a vowel that does
// not end the utterance keeps its pitch and loudness instead of falling
// away.  The cut stops before "ね".
constexpr int kTrailingPhonemes = 2;  // "n" and "e"
constexpr const char* kHeld = "ーーね";
constexpr const char* kHeldLong = "ーーーーね";  // a vowel sample: long enough for a steady loop

// After "あ": a consonant inside a word, between vowels, as it mostly is in
// speech.  In katakana when the hiragana is read otherwise ("あへ" as あ and
// the particle え).
std::string syllable_text(int slot, bool katakana) {
    if (is_vowel_syllable(slot)) return std::string(kSyllables[slot].kana) + kHeldLong;
    std::string kana = kSyllables[slot].kana;
    // open_jtalk reads ぢゅ and ぢょ as ぢ and ゆ, ょ; they sound as じゅ, じょ.
    if (kana.size() == 6 && kana.compare(0, 3, "ぢ") == 0) kana.replace(0, 3, "じ");
    if (!katakana) return "あ" + kana + kHeld;
    return "ア" + vokari::text::hiragana_to_katakana(kana) + "ーーネ";
}

// 95 ms at most from the consonant's start to its vowel: the module starts a
// syllable's sample at the kana's time, so a longer consonant makes the
// vowel late; the longest consonants of the duration model (ぎゅ, 125 ms)
// lose a quarter of their start, mostly closure.
constexpr long kLongestConsonant = 2095;
constexpr long kKeptVowel = 3308;       // 150 ms of vowel behind a consonant
constexpr long kVoicedStartFade = 110;  // 5 ms: a cut inside voicing (m, n, r ...) starts softly

// Where the held vowel sample takes over from the consonant sample: past the
// glide from the consonant into the vowel, which carries the consonant's
// place and is blurred when the held vowel is laid over it.  A fifth of the
// consonant's length, at most 20 ms, and never later than 105 ms.
long take_over(const SyllableCut& cut) {
    if (cut.consonant.empty()) return cut.vowel_start;
    const long glide = std::min(441L, cut.model_consonant / 5);
    return std::min(cut.vowel_start + glide, std::max(cut.vowel_start, 2315L));
}

struct Recorded {
    SyllableCut cut;
    std::string text;
    std::string error;
};

// A consonant syllable that open_jtalk says without a consonant in either
// script is taken as it is said: を is "o".
Recorded record_slot(int slot, const JtalkVoice& voice, const std::string& scratch) {
    Recorded result;
    const bool vowel = is_vowel_syllable(slot);
    JtalkRecording first;
    for (bool katakana : {false, true}) {
        result.text = syllable_text(slot, katakana);
        const JtalkRecording recording = record_with_jtalk(result.text, voice, scratch);
        if (!recording.error.empty()) {
            result.error = recording.error;
            return result;
        }
        result.cut = cut_syllable(recording, vowel ? 0 : 1, kTrailingPhonemes, !vowel, kLongestConsonant);
        if (result.cut.ok || vowel) break;
        if (!katakana) first = recording;
    }
    if (!result.cut.ok && !vowel) {
        result.text = syllable_text(slot, false);
        result.cut = cut_syllable(first, 1, kTrailingPhonemes, false, kLongestConsonant);
    }
    if (!result.cut.ok)
        result.error = "open_jtalk did not say " + std::string(kSyllables[slot].kana) + " in " + result.text;
    return result;
}

double ms(long samples) { return 1000.0 * static_cast<double>(samples) / kBankRate; }

}  // namespace

int main(int argc, char** argv) {
    JtalkVoice voice = bundled_jtalk_voice(1);
    std::string out_dir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--speaker" && has_value) {
            voice = bundled_jtalk_voice(std::atoi(argv[++i]));
        } else if (arg == "--half-tones" && has_value) {
            voice.half_tones = std::strtod(argv[++i], nullptr);
        } else if (arg == "--all-pass" && has_value) {
            voice.all_pass = std::strtod(argv[++i], nullptr);
        } else if (arg == "--speed" && has_value) {
            voice.speed = std::strtod(argv[++i], nullptr);
        } else if (arg == "--program" && has_value) {
            voice.program = argv[++i];
        } else if (arg == "--dictionary" && has_value) {
            voice.dictionary = argv[++i];
        } else if (arg == "--voice" && has_value) {
            voice.voice = argv[++i];
        } else if (arg.rfind("--", 0) != 0 && out_dir.empty()) {
            out_dir = arg;
        } else {
            std::fprintf(stderr, "vokari-jtalk-record: unexpected argument %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (out_dir.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string missing = missing_jtalk_parts(voice);
    if (!missing.empty()) {
        std::fprintf(stderr, "vokari-jtalk-record: cannot record, missing:\n%snothing written\n", missing.c_str());
        return 1;
    }

    char scratch_template[] = "/tmp/vokari-jtalk-XXXXXX";
    if (mkdtemp(scratch_template) == nullptr) {
        std::fprintf(stderr, "vokari-jtalk-record: cannot make a scratch folder; nothing written\n");
        return 1;
    }
    const std::string scratch = scratch_template;
    std::vector<SyllableCut> cuts(kSyllableCount);
    std::vector<std::string> texts(kSyllableCount);
    std::string error;
    for (int slot = 0; slot < kSyllableCount && error.empty(); ++slot) {
        Recorded recorded = record_slot(slot, voice, scratch);
        error = recorded.error;
        cuts[slot] = std::move(recorded.cut);
        texts[slot] = recorded.text;
    }
    if (error.empty()) {
        // One pitch for the whole bank: the median of the vowels' own.
        std::vector<double> periods;
        for (const SyllableCut& cut : cuts) {
            const double period = vowel_period(cut);
            if (period > 0.0) periods.push_back(period);
        }
        std::sort(periods.begin(), periods.end());
        const double common = periods.empty() ? 0.0 : periods[periods.size() / 2];
        std::printf("// Every vowel read back at %.1f Hz; the duration model's consonant (ms) and what is kept:\n",
                    common > 0.0 ? kBankRate / common : 0.0);
        for (int slot = 0; slot < kSyllableCount; ++slot) {
            SyllableCut& cut = cuts[slot];
            flatten_vowel_pitch(cut, common);
            if (is_vowel_syllable(slot)) {
                std::printf("// %s: %s\n", kSyllables[slot].romaji, texts[slot].c_str());
                continue;
            }
            // A consonant sample keeps only the start of its vowel (the vowel
            // sample holds it); ending the recording there makes the builder
            // measure pitch and loudness on what the sample keeps.
            cut.samples.resize(std::min(cut.samples.size(), static_cast<size_t>(cut.vowel_start + kKeptVowel)));
            fade_in(cut.samples, kVoicedStartFade);
            std::printf("// %s: %s, %s %.1f ms in the duration model, %.1f ms kept, vowel sample from %.1f ms\n",
                        kSyllables[slot].romaji, texts[slot].c_str(),
                        cut.consonant.empty() ? "no consonant," : ("consonant " + cut.consonant).c_str(),
                        ms(cut.model_consonant), ms(cut.vowel_start), ms(take_over(cut)));
        }
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    if (!error.empty()) {
        std::fprintf(stderr, "vokari-jtalk-record: %s; nothing written\n", error.c_str());
        return 1;
    }

    fs::create_directories(out_dir, ignored);
    std::vector<std::string> written;
    std::string failed;  // the file that could not be written
    // Each file is one syllable from its start: offset 0, cutoff 0 (its
    // end), the vowel at the preutterance; the fixed part is the consonant.
    std::string oto;
    for (int slot = 0; slot < kSyllableCount && failed.empty(); ++slot) {
        const std::string name = std::string(kSyllables[slot].romaji) + ".wav";
        written.push_back(out_dir + "/" + name);
        // The synthesiser's loudest vowels reach full scale; the builder sets
        // the bank's level itself, so halving costs nothing.
        for (float& v : cuts[slot].samples) v *= 0.5f;
        if (!write_recording(written.back(), cuts[slot].samples, kBankRate)) failed = written.back();
        char line[128];
        const double vowel_ms = ms(take_over(cuts[slot]));
        std::snprintf(line, sizeof line, "%s=%s,0,%.4f,0,%.4f,0\n", name.c_str(), kSyllables[slot].kana, vowel_ms,
                      vowel_ms);
        oto += line;
    }
    const std::string oto_path = out_dir + "/oto.ini";
    if (failed.empty()) std::ofstream(oto_path, std::ios::binary) << oto;
    if (failed.empty() && (!fs::exists(oto_path) || fs::file_size(oto_path, ignored) != oto.size())) failed = oto_path;
    if (failed.empty()) return 0;
    std::fprintf(stderr, "vokari-jtalk-record: cannot write %s; nothing written\n", failed.c_str());
    for (const std::string& done : written) fs::remove(done, ignored);
    return 1;
}
