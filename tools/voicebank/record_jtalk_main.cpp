// vokari-jtalk-record: records the bank's 107 syllables with Open JTalk's
// trained voice, one file per syllable named by its romaji, ready for
// vokari-voicebank.
//
//   vokari-jtalk-record [--speaker N] [--half-tones F] [--all-pass A] [--speed R]
//                       [--program P] [--dictionary DIR] [--voice FILE] OUT_DIR
//
// --speaker starts from the bundled voice of that speaker; the other options
// change single settings of it.  Every consonant syllable is spoken alone
// ("かーーね", cut before its "ね") and after a carrier ("あっかーーね"); the
// cut whose vowel is steadier in pitch and loudness is kept (the alone one on
// a tie), so the choice is the same on every run.  Nothing is written unless every syllable was recorded.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "audio_input.h"
#include "jtalk_recording.h"
#include "recording_file.h"
#include "syllables.h"

namespace fs = std::filesystem;
using namespace vokari::voicebank;

namespace {

constexpr const char* kUsage =
    "usage: vokari-jtalk-record [--speaker N] [--half-tones F] [--all-pass A] [--speed R]\n"
    "                           [--program P] [--dictionary DIR] [--voice FILE] OUT_DIR\n";

// The syllable at the start of a word, its vowel held by long-vowel marks
// and followed by "ね": a vowel that does not end the utterance keeps its
// pitch and loudness instead of falling away.  The cut stops before "ね".
std::string alone_text(int slot) { return std::string(kSyllables[slot].kana) + "ーーね"; }
constexpr int kTrailingPhonemes = 2;  // "n" and "e"

// The same after "あっ": a word-internal consonant after a closure.
std::string carrier_text(int slot) { return "あっ" + alone_text(slot); }
constexpr int kCarrierPhonemes = 2;  // "a" and the closure "cl"

constexpr long kKeptVowel = 3308;  // 150 ms of vowel behind a consonant

struct Recorded {
    SyllableCut cut;
    std::string error;
};

Recorded record_cut(const std::string& text, int first_phoneme, const JtalkVoice& voice, const std::string& scratch) {
    Recorded result;
    const JtalkRecording recording = record_with_jtalk(text, voice, scratch);
    if (!recording.error.empty()) {
        result.error = recording.error;
        return result;
    }
    result.cut = cut_syllable(recording, first_phoneme, kTrailingPhonemes);
    if (!result.cut.ok) result.error = "no syllable found in the labels of " + text;
    return result;
}

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
    std::string error;
    for (int slot = 0; slot < kSyllableCount && error.empty(); ++slot) {
        Recorded alone = record_cut(alone_text(slot), 0, voice, scratch);
        if (!alone.error.empty()) {
            error = alone.error;
            break;
        }
        const double alone_score = vowel_unsteadiness(alone.cut);
        cuts[slot] = alone.cut;
        if (is_vowel_syllable(slot)) {
            flatten_vowel_pitch(cuts[slot]);
            std::printf("%-4s alone    unsteadiness %.2f\n", kSyllables[slot].romaji, alone_score);
            continue;
        }
        Recorded carried = record_cut(carrier_text(slot), kCarrierPhonemes, voice, scratch);
        if (!carried.error.empty()) {
            error = carried.error;
            break;
        }
        const double carried_score = vowel_unsteadiness(carried.cut);
        const bool keep_carried = carried_score < alone_score;
        if (keep_carried) cuts[slot] = carried.cut;
        // A consonant sample keeps only the start of its vowel (the vowel
        // sample holds it); ending the recording there makes the builder
        // measure pitch and loudness on what the sample keeps, not on a
        // held vowel whose intonation has moved on.
        SyllableCut& kept = cuts[slot];
        flatten_vowel_pitch(kept);
        kept.samples.resize(std::min(kept.samples.size(), static_cast<size_t>(kept.vowel_start + kKeptVowel)));
        std::printf("%-4s %-8s unsteadiness %.2f (alone %.2f, carried %.2f)\n", kSyllables[slot].romaji,
                    keep_carried ? "carried" : "alone", keep_carried ? carried_score : alone_score, alone_score,
                    carried_score);
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    if (!error.empty()) {
        std::fprintf(stderr, "vokari-jtalk-record: %s; nothing written\n", error.c_str());
        return 1;
    }

    fs::create_directories(out_dir, ignored);
    std::vector<std::string> written;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        const std::string path = out_dir + "/" + kSyllables[slot].romaji + ".wav";
        // The synthesiser's loudest vowels reach full scale; the builder sets
        // the bank's level itself, so halving costs nothing.
        for (float& v : cuts[slot].samples) v *= 0.5f;
        if (!write_recording(path, cuts[slot].samples, kBankRate)) {
            std::fprintf(stderr, "vokari-jtalk-record: cannot write %s; nothing written\n", path.c_str());
            for (const std::string& done : written) fs::remove(done, ignored);
            return 1;
        }
        written.push_back(path);
    }
    return 0;
}
