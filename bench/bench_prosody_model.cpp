// The cost of the prosody model, each against the same work without it in
// one run: a typical 40-character line and the cap script analysed, then
// labelled and planned (durations and the log-F0 contour); and loading a
// voice with the reading step, with and without the trained voice file.
// Targets: +3 ms for the line, +40 ms for the cap script, +30 ms load.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_texts.h"
#include "bench/bench_voice.h"
#include "host/module.h"
#include "reading/prosody_model.h"

namespace {

// A private copy of the bundled voice with the reading step, and the
// prosody model when `model` is set.
struct Voice : bench::ModuleVoice {
    explicit Voice(bool model)
        : ModuleVoice(model ? std::string("voice.reading.dic,naist-jdic\nvoice.prosody.model,") +
                                  vokari::kTrainedVoiceFileName + "\n"
                            : "voice.reading.dic,naist-jdic\n",
                      true,
                      model ? std::vector<std::string>{vokari::kTrainedVoiceFileName} : std::vector<std::string>{}) {}
};

// Arg 0: the analysis alone; arg 1: analysis, labels and plan.
void run_line(benchmark::State& state, const std::string& script) {
    vokari::platform::set_player(vokari::platform::null_player());
    const bool model = state.range(0) != 0;
    Voice voice(model);
    if (!voice.module.reader.is_open() || (model && !voice.module.prosody.is_open()))
        state.SkipWithError("no reading dictionary or trained voice: build vokari_reading_dictionary");
    std::vector<vokari::ReadWord> words;
    for (auto _ : state) {
        words.clear();
        voice.module.reader.analyse(script.data(), script.size(), words);
        if (model) {
            const vokari::ProsodyPlan plan = voice.module.prosody.plan(words, 1.0, 1.0);
            benchmark::DoNotOptimize(plan.log_f0.data());
        }
        benchmark::DoNotOptimize(words.data());
    }
    state.SetLabel(model ? "analysis and prosody model" : "analysis alone");
}

void BM_TypicalLine(benchmark::State& state) { run_line(state, bench::to_shift_jis(bench::typical_line_kana())); }

void BM_CapScript(benchmark::State& state) { run_line(state, bench::to_shift_jis(bench::cap_script_kana())); }

// Arg 0: the reading step alone; arg 1: with the trained voice file.
void BM_Load(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const bool model = state.range(0) != 0;
    Voice voice(model);
    for (auto _ : state) {
        vokari::load_module(voice.module, voice.directory.data(), static_cast<long>(voice.directory.size()));
        if (model && !voice.module.prosody.is_open()) state.SkipWithError("the trained voice did not load");
    }
    state.SetLabel(model ? "reading step and prosody model" : "reading step alone");
}

}  // namespace

BENCHMARK(BM_TypicalLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CapScript)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

BENCHMARK_MAIN();
