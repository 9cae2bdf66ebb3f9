// The peer a Linux user would pick instead: espeak-ng with its Japanese voice
// synthesising the same kana as the request benchmarks.
//
// In process: libespeak-ng in synchronous mode with a synth callback that
// counts and discards the samples.  Whole process: `espeak-ng -v ja -w
// out.wav TEXT`, started and waited for once per iteration.
//
// Counters as in the request benchmarks: audio_s is the speech one run
// produces, x_realtime the seconds of speech per second of wall time.
#include <benchmark/benchmark.h>
#include <espeak-ng/speak_lib.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench/bench_texts.h"

extern char** environ;

namespace {

constexpr double kEspeakRate = 22050.0;
constexpr long kWavHeaderBytes = 44;

long synthesised_samples = 0;

int count_and_discard(short*, int samples, espeak_EVENT*) {
    synthesised_samples += samples;
    return 0;
}

// Initialises libespeak-ng once per process with the Japanese voice; false
// when it cannot be set up.
bool espeak_ready() {
    static const bool ready = [] {
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        if (rate != static_cast<int>(kEspeakRate)) return false;
        espeak_SetSynthCallback(count_and_discard);
        return espeak_SetVoiceByName("ja") == EE_OK;
    }();
    return ready;
}

void report_audio(benchmark::State& state, double audio_seconds) {
    state.counters["audio_s"] = audio_seconds;
    state.counters["x_realtime"] =
        benchmark::Counter(audio_seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_EspeakInProcess(benchmark::State& state, const char* kana) {
    if (!espeak_ready()) {
        state.SkipWithError("libespeak-ng or its ja voice is not available");
        return;
    }
    const std::size_t size = std::strlen(kana) + 1;
    long samples = 0;
    for (auto _ : state) {
        synthesised_samples = 0;
        espeak_Synth(kana, size, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
        samples = synthesised_samples;
    }
    report_audio(state, samples / kEspeakRate);
}

// Runs espeak-ng as its own process writing `wav_path`; false when it could
// not be started or failed.
bool run_espeak_process(const char* kana, const std::string& wav_path) {
    const char* argv[] = {"espeak-ng", "-v", "ja", "-w", wav_path.c_str(), kana, nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "espeak-ng", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_EspeakProcess(benchmark::State& state, const char* kana) {
    const std::string wav_path = "/tmp/vokari-bench-espeak-" + std::to_string(getpid()) + ".wav";
    for (auto _ : state) {
        if (!run_espeak_process(kana, wav_path)) {
            state.SkipWithError("espeak-ng could not be run");
            return;
        }
    }
    struct stat file {};
    const double audio_seconds =
        stat(wav_path.c_str(), &file) == 0 ? (file.st_size - kWavHeaderBytes) / 2 / kEspeakRate : 0.0;
    std::remove(wav_path.c_str());
    report_audio(state, audio_seconds);
}

}  // namespace

BENCHMARK_CAPTURE(BM_EspeakInProcess, typical_line, bench::typical_line_kana())
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EspeakInProcess, cap_script, bench::cap_script_kana())
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EspeakInProcess, dialogue, bench::dialogue_kana())->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EspeakProcess, typical_line, bench::typical_line_kana())
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EspeakProcess, cap_script, bench::cap_script_kana())->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EspeakProcess, dialogue, bench::dialogue_kana())->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
