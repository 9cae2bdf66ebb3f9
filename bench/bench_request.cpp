// Request latency end to end: the host's request call, from its memory block
// to the response block, rendering included, with the voice loaded once.
//
// Counters: audio_s is the speech one request renders (seconds at 22050 Hz);
// x_realtime is seconds of speech rendered per second of wall time.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_texts.h"
#include "bench/bench_voice.h"
#include "synth/wav_image.h"

namespace {

constexpr double kSampleRate = 22050.0;

// Runs `request_text` as the host would, once per iteration, and reports the
// speech it renders.  `expected_samples`, when not 0, is the output size the
// request must produce for the figure to mean what its name says.
void run_requests(benchmark::State& state, const std::string& request_text, std::int32_t expected_samples) {
    // Without an image left by an earlier benchmark, the size after one request
    // is this request's own (0 when it renders nothing).
    bench::loaded_voice().reload();
    bench::call_request(request_text);
    const std::int32_t samples = bench::last_played_samples();
    if (expected_samples != 0 && samples != expected_samples) {
        state.SkipWithError(
            ("rendered " + std::to_string(samples) + " samples, expected " + std::to_string(expected_samples)).c_str());
        return;
    }
    long response_length = 0;
    for (auto _ : state) {
        response_length = bench::call_request(request_text);
        benchmark::DoNotOptimize(response_length);
    }
    const double audio_seconds = samples / kSampleRate;
    state.counters["audio_s"] = audio_seconds;
    state.counters["x_realtime"] =
        benchmark::Counter(audio_seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["response_bytes"] = static_cast<double>(response_length);
    state.SetLabel(bench::voice_origin());
}

void BM_RequestVersionEcho(benchmark::State& state) { run_requests(state, bench::version_request(), 0); }

void BM_RequestTypicalLine(benchmark::State& state) {
    const std::string script = bench::to_shift_jis(std::string("\\0") + bench::typical_line_kana());
    run_requests(state, bench::script_request(script), 0);
}

void BM_RequestCapScript(benchmark::State& state) {
    const std::string script = bench::to_shift_jis(bench::cap_script_kana());
    run_requests(state, bench::script_request(script), vokari::kMaxOutputSamples);
}

void BM_RequestDialogue(benchmark::State& state) {
    const vokari::LoadedVoice& voice = bench::loaded_voice().module().voice;
    if (voice.sound_effects.empty() || voice.sound_effects.front().size == 0) {
        state.SkipWithError("the voice has no sound effect to play");
        return;
    }
    const std::string effect = voice.sound_effects.front().name;
    const std::string script =
        bench::to_shift_jis(bench::dialogue_script(static_cast<char>(voice.settings.tag_prefix), effect));
    run_requests(state, bench::script_request(script), 0);
}

}  // namespace

BENCHMARK(BM_RequestVersionEcho)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RequestTypicalLine)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RequestCapScript)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RequestDialogue)->UseRealTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
