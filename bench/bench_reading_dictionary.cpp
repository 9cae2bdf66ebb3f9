// The cost of the bundled voice's general reading dictionary for a request:
// a typical 40-character line of kanji and kana translated, scanned and given
// its waits, with only the built-in pairs and with the general dictionary
// loaded as the bundled voice loads it.  The counters give the dictionary's
// size in pairs and bytes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/bench_texts.h"
#include "bench/bench_voice.h"
#include "host/module.h"
#include "translate/translation_index.h"

namespace {

void BM_MixedLine(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const bool with_dictionary = state.range(0) != 0;
    bench::ModuleVoice voice;
    vokari::Module& module = voice.module;
    if (!with_dictionary) {
        module.dictionary.clear();
        vokari::add_system_pairs(module.voice.settings, module.dictionary);
        module.dictionary_index.build(module.dictionary);
    }
    const std::string script = bench::to_shift_jis(std::string("\\0") + bench::typical_line_mixed());
    vokari::Timeline timeline;
    for (auto _ : state) {
        const vokari::SpeechPlan plan = vokari::plan_speech(vokari::speech_sources(module), script, timeline);
        benchmark::DoNotOptimize(plan.reply.data());
    }
    state.counters["pairs"] = static_cast<double>(module.dictionary.size());
    const std::filesystem::path dictionary = std::filesystem::path(voice.directory) / "reading.dic";
    if (with_dictionary && std::filesystem::exists(dictionary))
        state.counters["dictionary_bytes"] = static_cast<double>(std::filesystem::file_size(dictionary));
    state.SetLabel(with_dictionary ? "general dictionary" : "built-in pairs only");
}

// Building the index of the pairs, which load does once after the last pair.
void BM_BuildPairIndex(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    bench::ModuleVoice voice;
    for (auto _ : state) {
        vokari::TranslationIndex index;
        index.build(voice.module.dictionary);
        benchmark::DoNotOptimize(&index);
    }
    state.counters["pairs"] = static_cast<double>(voice.module.dictionary.size());
}

}  // namespace

BENCHMARK(BM_BuildPairIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
