// vokari-voicebank: builds one speaker's sample directories from a folder of
// recordings named by syllable (a.wav, ka.wav, shi.wav, kya.wav, n.wav, ...).
//
//   vokari-voicebank [--speaker N] RECORDINGS_DIR MODULE_DIR
//
// Prints one line per slot with what was estimated and a list of what could
// not be estimated.  Exit status: 0 bank written, 1 nothing written (bad
// arguments, unreadable recording or write failure), 3 bank written but
// recordings were missing or estimates failed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio_input.h"
#include "bank_writer.h"
#include "corrections.h"
#include "slot_analysis.h"
#include "syllables.h"

namespace fs = std::filesystem;
using namespace voicebank;

namespace {

// The recording of `romaji` in `folder` under any extension libsndfile
// reads; empty when there is none.
std::string find_recording(const fs::path& folder, const std::string& romaji) {
    for (const char* extension : {".wav", ".flac", ".ogg", ".aiff", ".aif", ".au", ".caf", ".w64"}) {
        const fs::path candidate = folder / (romaji + extension);
        if (fs::exists(candidate)) return candidate.string();
    }
    return {};
}

void print_slot(const SlotSample& s, const SlotTuning& t) {
    const double ms = 1000.0 / kBankRate;
    std::printf("%3d %-4s %6.0f ms", s.slot, kSyllables[s.slot].romaji, s.samples.size() * ms);
    if (is_vowel_syllable(s.slot)) {
        std::printf("  loop from %6.1f ms", s.loop_start * ms);
    } else {
        std::printf("  vowel at %6.1f ms, fade %6.1f ms", s.vowel_delay * ms, s.fade_length * ms);
    }
    std::printf("  f0 %6.1f Hz  frequency x%.3f  level x%.3f\n", s.period > 0 ? kBankRate / s.period : 0.0,
                t.correct_frequency, t.correct_level);
}

}  // namespace

int main(int argc, char** argv) {
    int speaker = 0;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--speaker" && i + 1 < argc) {
            speaker = std::atoi(argv[++i]);
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2 || (speaker != 0 && speaker != 1)) {
        std::fprintf(stderr, "usage: vokari-voicebank [--speaker 0|1] RECORDINGS_DIR MODULE_DIR\n");
        return 1;
    }

    std::vector<std::string> problems;
    std::vector<SlotSample> samples;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        const std::string romaji = kSyllables[slot].romaji;
        const std::string path = find_recording(paths[0], romaji);
        if (path.empty()) {
            problems.push_back(romaji + ": no recording; the slot stays empty");
            continue;
        }
        const AudioReadResult audio = read_recording(path);
        if (!audio.error.empty()) {
            std::fprintf(stderr, "%s: %s; nothing written\n", path.c_str(), audio.error.c_str());
            return 1;
        }
        samples.push_back(analyse_slot(slot, audio.samples));
        for (const std::string& problem : samples.back().problems) problems.push_back(romaji + ": " + problem);
    }

    const BankTuning tuning = compute_tuning(samples);
    problems.insert(problems.end(), tuning.problems.begin(), tuning.problems.end());
    for (size_t i = 0; i < samples.size(); ++i) print_slot(samples[i], tuning.slots[i]);
    std::printf("speaker %d: %zu slots, f0 %.1f Hz, gain %.3f\n", speaker, samples.size(),
                tuning.target_period > 0 ? kBankRate / tuning.target_period : 0.0, tuning.gain);

    std::string error;
    if (!write_bank(paths[1], speaker, samples, tuning, error)) {
        std::fprintf(stderr, "%s; nothing written\n", error.c_str());
        return 1;
    }
    for (const std::string& problem : problems) std::fprintf(stderr, "could not estimate: %s\n", problem.c_str());
    return problems.empty() ? 0 : 3;
}
