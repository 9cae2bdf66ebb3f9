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
#include "host/translation_dictionary.h"
#include "host/translation_index.h"
#include "translate/scanner.h"
#include "voice_data/settings.h"

namespace {

// 40 characters: kanji words, a number with a counter, kana and punctuation.
const char* const kMixedLine = "ねえ、今日は良い天気ですね。3時から駅前の公園へ散歩に行きましょうか？";

void BM_MixedLine(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const bool with_dictionary = state.range(0) != 0;
    const std::string directory = bench::prepare_voice_directory();
    bench::load_module(directory);
    if (!with_dictionary) {
        vokari::translation_dictionary.clear();
        vokari::add_system_pairs();
    }
    const std::string script = bench::to_shift_jis(std::string("\\0") + kMixedLine);
    for (auto _ : state) {
        std::string voice = script;
        std::string reply = script;
        vokari::apply_translation(voice);
        const std::int64_t total_ms = vokari::scan_script(voice);
        vokari::insert_waits(reply, total_ms);
        benchmark::DoNotOptimize(reply.data());
    }
    state.counters["pairs"] = static_cast<double>(vokari::translation_dictionary.size());
    const std::filesystem::path dictionary = std::filesystem::path(directory) / "reading.dic";
    if (with_dictionary && std::filesystem::exists(dictionary))
        state.counters["dictionary_bytes"] = static_cast<double>(std::filesystem::file_size(dictionary));
    unload();
    fixture::remove_tree(directory);
    state.SetLabel(with_dictionary ? "general dictionary" : "built-in pairs only");
}

// Building the index of the pairs, which the first request after loading
// the general dictionary does once.
void BM_BuildPairIndex(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const std::string directory = bench::prepare_voice_directory();
    bench::load_module(directory);
    for (auto _ : state) {
        vokari::TranslationIndex index;
        index.build(vokari::translation_dictionary);
        benchmark::DoNotOptimize(&index);
    }
    state.counters["pairs"] = static_cast<double>(vokari::translation_dictionary.size());
    unload();
    fixture::remove_tree(directory);
}

}  // namespace

BENCHMARK(BM_BuildPairIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
