// Render throughput: render_timeline over a full-size output (1,048,576
// samples) with a hand-made timeline that keeps 1, 4 or 16 vowel voices
// sounding from the first sample to the last.
//
// All voices start at sample 0, spread over both speakers, so none releases
// another (a voice started in the same sample is not yet under way) and each
// holds and loops to the end.  A level of 1/voices, set at sample 0, keeps
// the mix within full scale as a real mix would be.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/bench_voice.h"
#include "synth/renderer.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "synth/sound_file.h"
#include "base/mulaw.h"
#include "translate/timeline.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/message_speed.h"
#include "voice_data/phoneme_details.h"

namespace {

constexpr std::uint8_t kSilentByte = 0xFF;

// The vowel slots of `speaker` that hold a sample.
std::vector<int> sounding_vowel_slots(const vokari::PhonemeBank& bank, int speaker) {
    std::vector<int> slots;
    for (int slot : {0, 1, 2, 3, 4, vokari::kSyllabicNSlot}) {
        if (bank.slots[speaker][slot].size > 0) slots.push_back(slot);
    }
    return slots;
}

// Fills `timeline` with `voices` vowel voices of `bank` held from sample 0.
bool build_held_voices(const vokari::PhonemeBank& bank, vokari::Timeline& timeline, int voices) {
    timeline.clear();
    for (int speaker = 0; speaker < vokari::kSpeakerCount; ++speaker) {
        timeline.control_events[speaker].push_back(vokari::ControlEvent{0, vokari::LevelSet, 1.0 / voices});
    }
    const std::vector<int> slots[2] = {sounding_vowel_slots(bank, 0), sounding_vowel_slots(bank, 1)};
    for (int v = 0; v < voices; ++v) {
        const int speaker = v % 2;
        if (slots[speaker].empty()) return false;
        const int slot = slots[speaker][(v / 2) % slots[speaker].size()];
        timeline.phoneme_events[speaker].push_back(vokari::PhonemeEvent{0, slot, 1, 1});
    }
    return true;
}

void BM_RenderHeldVoices(benchmark::State& state) {
    const vokari::LoadedVoice& voice = bench::loaded_voice().module().voice;
    vokari::Timeline timeline;
    const int voices = static_cast<int>(state.range(0));
    if (!build_held_voices(voice.bank, timeline, voices)) {
        state.SkipWithError("the voice has no vowel samples");
        return;
    }
    std::vector<std::uint8_t> out(vokari::kMaxOutputSamples);
    const std::int32_t samples = vokari::kMaxOutputSamples;
    for (auto _ : state) {
        vokari::render_timeline(voice, timeline, out.data(), samples);
        benchmark::ClobberMemory();
    }
    const auto silent = std::count(out.begin(), out.end(), kSilentByte);
    if (silent > samples / 2) {
        state.SkipWithError("the held voices did not sound");
        return;
    }
    state.SetItemsProcessed(state.iterations() * samples);
    state.SetLabel(bench::voice_origin());
}

}  // namespace

BENCHMARK(BM_RenderHeldVoices)->Arg(1)->Arg(4)->Arg(16)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
