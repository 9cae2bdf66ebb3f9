// The cost of the in-context reading step: a typical 40-character line of
// kanji, numbers and kana read, folded, scanned and given its waits, against
// its kana alone without the step; the longest script the module speaks
// (360 characters of mixed text); and loading a voice with the step on.
// Targets: +0.3 ms for the line, +10 ms for the longest script, 150 ms load.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_texts.h"
#include "bench/bench_voice.h"
#include "host/module.h"

namespace {

// A private copy of the bundled voice with the reading step on or off.
struct Voice : bench::ModuleVoice {
    explicit Voice(bool reading)
        : ModuleVoice(reading ? "voice.reading.dic,naist-jdic\n" : "talk.default.speed,130\n", reading) {}
};

// What a request does to its script before rendering.
void speak_text(vokari::Module& module, const std::string& script, vokari::Timeline& timeline) {
    const vokari::SpeechPlan plan = vokari::plan_speech(vokari::speech_sources(module), script, timeline);
    benchmark::DoNotOptimize(plan.reply.data());
}

// Nine mixed lines: 360 characters.
std::string longest_mixed_script() {
    std::string text = "\\0";
    for (int line = 0; line < 9; ++line) text += bench::typical_line_mixed();
    return bench::to_shift_jis(text);
}

// Arg 0: the kana alone without the step; arg 1: the mixed line with it.
void BM_TypicalLine(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const bool reading = state.range(0) != 0;
    Voice voice(reading);
    if (reading && !voice.module.reader.is_open())
        state.SkipWithError("no reading dictionary: build vokari_reading_dictionary");
    const std::string script =
        bench::to_shift_jis(std::string("\\0") + (reading ? bench::typical_line_mixed() : bench::typical_line_kana()));
    vokari::Timeline timeline;
    for (auto _ : state) speak_text(voice.module, script, timeline);
    state.SetLabel(reading ? "mixed line, reading step" : "kana alone, no step");
}

void BM_LongestScript(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const bool reading = state.range(0) != 0;
    Voice voice(reading);
    if (reading && !voice.module.reader.is_open()) state.SkipWithError("no reading dictionary");
    const std::string script = longest_mixed_script();
    vokari::Timeline timeline;
    for (auto _ : state) speak_text(voice.module, script, timeline);
    state.SetLabel(reading ? "reading step" : "no step");
}

void BM_LoadWithReading(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    Voice voice(true);
    for (auto _ : state) {
        vokari::load_module(voice.module, voice.directory.data(), static_cast<long>(voice.directory.size()));
        if (!voice.module.reader.is_open()) state.SkipWithError("no reading dictionary");
    }
}

}  // namespace

BENCHMARK(BM_TypicalLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongestScript)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWithReading)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
