// The cost of the pitch accent on a typical 40-character line: each iteration
// plans the line's speech as a request does, with the accent off or on (which
// also lists the kana starts, works out the accent of its morae and merges
// the events).  The difference between the two is the accent's cost.
// Target: 0.05 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_texts.h"
#include "bench/bench_voice.h"
#include "host/module.h"

namespace fs = std::filesystem;

namespace {

void BM_AccentOnTypicalLine(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const bool accent = state.range(0) != 0;
    const std::string directory = bench::prepare_voice_directory();
    const fs::path dictionary = fs::path(VOKARI_SOURCE_DIR) / "voices/default/naist-jdic";
    if (!fs::exists(fs::path(directory) / "naist-jdic"))
        fs::create_directory_symlink(dictionary, fs::path(directory) / "naist-jdic");
    std::ofstream(fs::path(directory) / "vokari.txt", std::ios::binary)
        << "voice.reading.dic,naist-jdic\nvoice.pitch.accent,6\n";
    vokari::Module module;
    vokari::load_module(module, directory.data(), static_cast<long>(directory.size()));
    if (!module.reader.is_open()) state.SkipWithError("no reading dictionary: build vokari_reading_dictionary");
    if (!accent) module.voice.settings.accent_depth = 0.0;
    const std::string script = bench::to_shift_jis(std::string("\\0") + bench::typical_line_mixed());
    vokari::Timeline timeline;
    for (auto _ : state) {
        const vokari::SpeechPlan plan = vokari::plan_speech(vokari::speech_sources(module), script, timeline);
        benchmark::DoNotOptimize(plan.reply.data());
        benchmark::DoNotOptimize(timeline.control_events[0].data());
    }
    state.SetLabel(accent ? "plan with the accent" : "plan without it");
    vokari::unload_module(module);
    fixture::remove_tree(directory);
}

}  // namespace

BENCHMARK(BM_AccentOnTypicalLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
