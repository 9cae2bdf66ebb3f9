// The voice-bank builder's analysis for the page: the browser decodes each
// recording and resamples it to the bank's rate, this file hands the samples
// to the same analysis as vokari-voicebank and writes the speaker's sample
// directories into the worker's file system.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audio_input.h"
#include "bank_writer.h"
#include "corrections.h"
#include "slot_analysis.h"
#include "syllables.h"
#include "json_text.h"

namespace {

std::vector<vokari::voicebank::SlotSample> analysed;
std::string result_text;

}  // namespace

extern "C" {

// The bank's sample rate in Hz: recordings must arrive at this rate.
EMSCRIPTEN_KEEPALIVE int web_bank_rate() { return vokari::voicebank::kBankRate; }

// The syllables in slot order as JSON: [{"romaji":"a","kana":"あ"},...].
EMSCRIPTEN_KEEPALIVE const char* web_syllables() {
    result_text = "[";
    for (int slot = 0; slot < vokari::voicebank::kSyllableCount; ++slot) {
        if (slot > 0) result_text += ',';
        result_text += "{\"romaji\":";
        web::append_json_string(result_text, vokari::voicebank::kSyllables[slot].romaji);
        result_text += ",\"kana\":";
        web::append_json_string(result_text, vokari::voicebank::kSyllables[slot].kana);
        result_text += '}';
    }
    result_text += ']';
    return result_text.c_str();
}

// Forgets the recordings analysed so far: the start of a new bank.
EMSCRIPTEN_KEEPALIVE void web_bank_begin() { analysed.clear(); }

// slot: 0..106; samples: `count` mono floats at the bank's rate, +-1.0 full
// scale.  Analyses the recording and keeps the result for web_bank_write.
// Returns the number of estimates that failed for it, -1 for a bad slot.
EMSCRIPTEN_KEEPALIVE int web_bank_add(int slot, const float* samples, int count) {
    if (slot < 0 || slot >= vokari::voicebank::kSyllableCount || count < 0) return -1;
    analysed.push_back(vokari::voicebank::analyse_slot(slot, std::vector<float>(samples, samples + count)));
    return static_cast<int>(analysed.back().problems.size());
}

// Writes speaker `speaker`'s (0 or 1) sample directories for the recordings
// added since web_bank_begin into `module_dir`.  Returns JSON, valid until the
// next call: {"ok":true|false,"error":"...","slots":N,"f0_hz":X,"gain":X,
// "problems":["ka: ...",...]} where problems lists what could not be
// estimated, missing syllables included.
EMSCRIPTEN_KEEPALIVE const char* web_bank_write(const char* module_dir, int speaker) {
    std::vector<std::string> problems;
    std::vector<bool> recorded(vokari::voicebank::kSyllableCount, false);
    for (const vokari::voicebank::SlotSample& sample : analysed) {
        recorded[static_cast<std::size_t>(sample.slot)] = true;
        for (const std::string& problem : sample.problems)
            problems.push_back(std::string(vokari::voicebank::kSyllables[sample.slot].romaji) + ": " + problem);
    }
    for (int slot = 0; slot < vokari::voicebank::kSyllableCount; ++slot)
        if (!recorded[static_cast<std::size_t>(slot)])
            problems.push_back(std::string(vokari::voicebank::kSyllables[slot].romaji) +
                               ": no recording; the slot stays empty");
    const vokari::voicebank::BankTuning tuning = vokari::voicebank::compute_tuning(analysed);
    problems.insert(problems.end(), tuning.problems.begin(), tuning.problems.end());

    std::string error;
    const bool ok =
        (speaker == 0 || speaker == 1) && vokari::voicebank::write_bank(module_dir, speaker, analysed, tuning, error);
    if (speaker != 0 && speaker != 1) error = "the speaker must be 0 or 1";

    char numbers[96];
    std::snprintf(numbers, sizeof numbers, ",\"slots\":%zu,\"f0_hz\":%.1f,\"gain\":%.3f,\"problems\":[",
                  analysed.size(), tuning.target_period > 0 ? vokari::voicebank::kBankRate / tuning.target_period : 0.0,
                  tuning.gain);
    result_text = std::string("{\"ok\":") + (ok ? "true" : "false") + ",\"error\":";
    web::append_json_string(result_text, error);
    result_text += numbers;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i > 0) result_text += ',';
        web::append_json_string(result_text, problems[i]);
    }
    result_text += "]}";
    return result_text.c_str();
}

}  // extern "C"
