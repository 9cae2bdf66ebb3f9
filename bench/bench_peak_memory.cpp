// Peak heap memory of the cap request, counted by this program's own malloc:
// every allocation function of the C library is replaced by one that forwards
// to glibc's and keeps the bytes in use (malloc_usable_size) and their peak.
// operator new and the module's global memory blocks all end up here.
//
// The previous WAV image is released before each measured request, so the
// peak above the bytes in use beforehand is the new image plus everything
// else the request needs at once.  Counters (bytes):
//   image_bytes       the WAV image of the cap (58 + 1,048,576)
//   first_extra       peak minus image for the first request after load
//                     (the timeline's lists are grown then)
//   steady_extra      the same for later requests (the lists are reused)
//   retained_extra    bytes still held after a request, beside the image
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "bench/bench_texts.h"
#include "bench/bench_voice.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "synth/sound_file.h"
#include "base/mulaw.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void* __libc_valloc(std::size_t size);
void* __libc_pvalloc(std::size_t size);
void __libc_free(void* block);
}

namespace {

std::size_t bytes_in_use = 0;
std::size_t peak_bytes = 0;

void* counted(void* block) {
    if (block != nullptr) {
        bytes_in_use += malloc_usable_size(block);
        peak_bytes = std::max(peak_bytes, bytes_in_use);
    }
    return block;
}

void uncount(void* block) {
    if (block != nullptr) bytes_in_use -= malloc_usable_size(block);
}

}  // namespace

extern "C" {
void* malloc(std::size_t size) { return counted(__libc_malloc(size)); }
void* calloc(std::size_t count, std::size_t size) { return counted(__libc_calloc(count, size)); }
void* realloc(void* block, std::size_t size) {
    uncount(block);
    void* moved = __libc_realloc(block, size);
    if (moved == nullptr && size != 0 && block != nullptr) return counted(block);  // left as it was
    return counted(moved);
}
void* memalign(std::size_t alignment, std::size_t size) { return counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    void* block = memalign(alignment, size);
    if (block == nullptr) return 12;  // ENOMEM
    *out = block;
    return 0;
}
void* valloc(std::size_t size) { return counted(__libc_valloc(size)); }
void* pvalloc(std::size_t size) { return counted(__libc_pvalloc(size)); }
void free(void* block) {
    uncount(block);
    __libc_free(block);
}
}

namespace {

struct RequestMemory {
    double extra;     // peak above the bytes in use before, less the image
    double retained;  // bytes held after the request, less the image
};

RequestMemory measure_request(const std::string& request_text, std::size_t image_bytes) {
    bench::loaded_voice().reload();
    const std::size_t before = bytes_in_use;
    peak_bytes = bytes_in_use;
    bench::call_request(request_text);
    return {static_cast<double>(peak_bytes - before) - static_cast<double>(image_bytes),
            static_cast<double>(bytes_in_use - before) - static_cast<double>(image_bytes)};
}

void BM_CapRequestPeakMemory(benchmark::State& state) {
    bench::loaded_voice();
    const std::string request_text = bench::script_request(bench::to_shift_jis(bench::cap_script_kana()));
    const std::size_t image_bytes = vokari::kWavHeaderSize + static_cast<std::size_t>(vokari::kMaxOutputSamples);
    const RequestMemory first = measure_request(request_text, image_bytes);
    if (bench::last_played_samples() != vokari::kMaxOutputSamples) {
        state.SkipWithError("the cap script did not reach the output cap");
        return;
    }
    RequestMemory steady{0.0, 0.0};
    for (auto _ : state) {
        const RequestMemory measured = measure_request(request_text, image_bytes);
        steady.extra = std::max(steady.extra, measured.extra);
        steady.retained = std::max(steady.retained, measured.retained);
    }
    state.counters["image_bytes"] = static_cast<double>(image_bytes);
    state.counters["first_extra"] = first.extra;
    state.counters["steady_extra"] = steady.extra;
    state.counters["retained_extra"] = steady.retained;
    state.SetLabel(bench::voice_origin());
}

}  // namespace

BENCHMARK(BM_CapRequestPeakMemory)->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
