// Output of a build: stdout gets the per-slot estimates, stderr everything
// that went wrong, so that a script can keep one and show the other.
#include "bank_build.h"

#include <cstdio>

#include "audio_input.h"
#include "command_line.h"
#include "corrections.h"
#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace {

void print_slot(std::FILE* out, const SlotSample& s, const SlotTuning& t) {
    const double ms = 1000.0 / kBankRate;
    std::fprintf(out, "%3d %-4s %6.0f ms", s.slot, kSyllables[s.slot].romaji, s.samples.size() * ms);
    if (is_vowel_syllable(s.slot)) {
        std::fprintf(out, "  loop from %6.1f ms", s.loop_start * ms);
    } else {
        std::fprintf(out, "  vowel at %6.1f ms, fade %6.1f ms", s.vowel_delay * ms, s.fade_length * ms);
    }
    std::fprintf(out, "  f0 %6.1f Hz  frequency x%.3f  level x%.3f\n", s.period > 0 ? kBankRate / s.period : 0.0,
                 t.correct_frequency, t.correct_level);
}

void print_list(std::FILE* err, const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    std::fprintf(err, "%s\n", heading);
    for (const std::string& line : lines) std::fprintf(err, "  %s\n", line.c_str());
}

void print_report(std::FILE* err, const BuildReport& report) {
    print_list(err, "could not estimate (the slot is written with what was found):", report.estimates);
    print_list(err, "notes:", report.notes);
    if (!report.empty.empty()) {
        std::string names;
        for (const std::string& name : report.empty) names += (names.empty() ? "" : " ") + name;
        std::fprintf(err, "%zu slots left empty (they stay silent): %s\n", report.empty.size(), names.c_str());
    }
    if (!report.left_out.empty()) {
        std::fprintf(err, "\n****************************************************************\n");
        std::fprintf(err, "WARNING: %zu sample(s) LEFT OUT of the bank; their slots stay silent:\n",
                     report.left_out.size());
        for (const std::string& line : report.left_out) std::fprintf(err, "  %s\n", line.c_str());
        std::fprintf(err, "****************************************************************\n");
    }
}

}  // namespace

int tune_and_store(std::vector<SlotSample> samples, std::vector<std::string> names, BuildReport& report, int speaker,
                   const BankSink& store, std::FILE* out, std::FILE* err) {
    for (size_t i = 0; i < samples.size(); ++i) {
        for (const std::string& problem : samples[i].problems) report.estimates.push_back(names[i] + ": " + problem);
    }
    // Leaving a sample out moves the medians a little, which can push
    // another sample past the limits: repeat until the bank is stable.
    BankTuning tuning = compute_tuning(samples);
    for (bool changed = true; changed && !samples.empty();) {
        changed = false;
        for (size_t i = samples.size(); i-- > 0;) {
            if (!tuning.slots[i].beyond_limits) continue;
            char line[160];
            std::snprintf(line, sizeof line, ": correction beyond the renderer's limits (rate x%.3f, level x%.3f)",
                          tuning.slots[i].wanted_frequency, tuning.slots[i].wanted_level);
            report.left_out.push_back(names[i] + line);
            samples.erase(samples.begin() + static_cast<long>(i));
            names.erase(names.begin() + static_cast<long>(i));
            changed = true;
        }
        if (changed) tuning = compute_tuning(samples);
    }
    if (samples.empty()) {
        print_report(err, report);
        std::fprintf(err, "no usable samples; nothing written\n");
        return kExitFailed;
    }

    for (size_t i = 0; i < samples.size(); ++i) print_slot(out, samples[i], tuning.slots[i]);
    std::fprintf(out, "speaker %d: %zu slots, f0 %.1f Hz, gain %.3f\n", speaker, samples.size(),
                 tuning.target_period > 0 ? kBankRate / tuning.target_period : 0.0, tuning.gain);

    std::string error;
    if (!store(samples, tuning, error)) {
        print_report(err, report);
        std::fprintf(err, "%s; nothing written\n", error.c_str());
        return kExitFailed;
    }
    print_report(err, report);
    const bool warnings =
        !report.left_out.empty() || !report.estimates.empty() || !report.empty.empty() || !report.notes.empty();
    return warnings ? kExitBuiltWithWarnings : kExitBuilt;
}

}  // namespace voicebank
}  // namespace vokari
