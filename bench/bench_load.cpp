// load of the voice: settings, dictionaries, the four sample directories with
// their details files, sound effects and the host's message speed, read from a
// private copy of the voice folder (warm in the page cache after the first
// round).  unload runs between rounds, outside the timing.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_voice.h"
#include "host/module.h"

namespace {

// Bytes of sample data that loading `directory` gives.
long loaded_sample_bytes(const std::string& directory) {
    vokari::Module module;
    vokari::load_module(module, directory.data(), static_cast<long>(directory.size()));
    long bytes = 0;
    for (const auto& row : module.voice.bank.slots)
        for (const vokari::PhonemeSlot& slot : row) bytes += slot.size;
    return bytes;
}

void BM_LoadVoice(benchmark::State& state) {
    vokari::platform::set_player(vokari::platform::null_player());
    const std::string directory = bench::prepare_voice_directory();
    // The first load may trim sample files; every later one reads them as left.
    bench::load_module(directory);
    unload();
    for (auto _ : state) {
        bench::load_module(directory);
        state.PauseTiming();
        unload();
        state.ResumeTiming();
    }
    state.counters["sample_bytes"] = static_cast<double>(loaded_sample_bytes(directory));
    fixture::remove_tree(directory);
    state.SetLabel(bench::voice_origin());
}

}  // namespace

BENCHMARK(BM_LoadVoice)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
