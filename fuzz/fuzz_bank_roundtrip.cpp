// A bank as the builder writes it and the module reads it back: random
// samples and tuning (within the renderer's limits, as the builder keeps
// them) are written with write_bank into a module folder, the module is
// loaded from it, and every slot must come back as written: the samples'
// bytes, the loop or fade and delay in output samples, and the correction
// factors to the four decimals the details file holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "host/module.h"
#include "support/fuzz_voice.h"
#include "tools/voicebank/bank_writer.h"
#include "tools/voicebank/syllables.h"
#include "base/wav_format.h"
#include "vokari_voice_format.h"

namespace {

// The value as the details file holds it: printed to four decimals (ties to
// even, as printf rounds) and read back.
double four_decimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return std::strtod(text, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static fuzz_support::FuzzVoice voice("fuzz-bank");
    FuzzedDataProvider data(bytes, size);
    const int speaker = data.ConsumeBool() ? 1 : 0;
    std::vector<vokari::voicebank::SlotSample> samples;
    vokari::voicebank::BankTuning tuning;
    tuning.gain = data.ConsumeFloatingPointInRange(0.05, 4.0);
    std::set<int> slots;
    const int count = data.ConsumeIntegralInRange(1, 4);
    for (int n = 0; n < count; ++n) {
        vokari::voicebank::SlotSample s;
        s.slot = data.ConsumeIntegralInRange(0, 106);
        if (!slots.insert(s.slot).second) continue;
        const long length = data.ConsumeIntegralInRange<long>(1, 3000);
        for (long i = 0; i < length; ++i)
            s.samples.push_back(static_cast<float>(data.ConsumeIntegralInRange(-1000, 1000)) / 1000.0f);
        s.vowel_delay = data.ConsumeIntegralInRange<long>(0, length);
        s.fade_length = data.ConsumeIntegralInRange<long>(0, length);
        s.loop_start = data.ConsumeIntegralInRange<long>(0, length - 1);
        samples.push_back(s);
        vokari::voicebank::SlotTuning t;
        t.correct_frequency = data.ConsumeFloatingPointInRange(0.25, 3.0);
        t.correct_level = data.ConsumeFloatingPointInRange(0.0, 3.0);
        tuning.slots.push_back(t);
    }
    std::string error;
    fuzz_support::require(vokari::voicebank::write_bank(voice.directory(), speaker, samples, tuning, error),
                          "the bank could not be written");

    vokari::Module module;
    vokari::load_module(module, voice.directory().data(), static_cast<long>(voice.directory().size()));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const vokari::voicebank::SlotSample& s = samples[i];
        const vokari::voicebank::SlotTuning& t = tuning.slots[i];
        const vokari::PhonemeSlot& slot = module.voice.bank.slots[speaker][s.slot];
        const std::vector<std::uint8_t> file = vokari::voicebank::sample_file_bytes(s.samples, tuning.gain);
        fuzz_support::require(slot.size == static_cast<std::int32_t>(s.samples.size()), "sample length changed");
        fuzz_support::require(std::vector<std::uint8_t>(file.begin() + vokari::kWavHeaderSize, file.end()) ==
                                  std::vector<std::uint8_t>(slot.data.begin(), slot.data.begin() + slot.size),
                              "sample bytes changed");
        if (slot.correct_frequency != four_decimals(t.correct_frequency) ||
            slot.correct_level != four_decimals(t.correct_level))
            std::fprintf(stderr, "written %.17g %.17g, read %.17g %.17g\n", t.correct_frequency, t.correct_level,
                         slot.correct_frequency, slot.correct_level);
        fuzz_support::require(slot.correct_frequency == four_decimals(t.correct_frequency) &&
                                  slot.correct_level == four_decimals(t.correct_level),
                              "correction factors changed");
        const long last = static_cast<long>(s.samples.size()) - 1;
        if (vokari::voicebank::is_vowel_syllable(s.slot)) {
            fuzz_support::require(slot.loop_chunk_offset == std::min(s.loop_start, last), "loop start changed");
        } else {
            const long fade = std::lround(s.fade_length / t.correct_frequency);
            fuzz_support::require(slot.vowel_delay == std::lround(s.vowel_delay / t.correct_frequency),
                                  "vowel delay changed");
            fuzz_support::require(slot.loop_chunk_offset == std::min(fade, last), "fade changed");
        }
    }
    vokari::unload_module(module);
    return 0;
}
