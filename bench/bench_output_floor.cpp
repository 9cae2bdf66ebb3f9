// The floor of any render: writing the largest output once.  For each of the
// 1,048,576 samples a cleared mixing sum is encoded through the module's
// encode_sample into the output, in the renderer's block size; nothing is
// mixed.  Every render does at least this much work per output sample.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "synth/sound_file.h"
#include "base/mulaw.h"

namespace {

constexpr std::int32_t kBlockSamples = 2048;

void BM_OutputFloor(benchmark::State& state) {
    const std::int32_t samples = vokari::kMaxOutputSamples;
    std::vector<std::uint8_t> out(samples);
    std::int32_t sums[kBlockSamples];
    for (auto _ : state) {
        for (std::int32_t o = 0; o < samples; o += kBlockSamples) {
            std::memset(sums, 0, sizeof sums);
            benchmark::DoNotOptimize(sums);
            std::uint8_t* block = out.data() + o;
            for (std::int32_t t = 0; t < kBlockSamples; ++t) block[t] = vokari::encode_sample(sums[t]);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * samples);
}

}  // namespace

BENCHMARK(BM_OutputFloor)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
