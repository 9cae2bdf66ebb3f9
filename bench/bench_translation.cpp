// Script translation on its own, without rendering: the translation
// dictionary's rewriting, the scan into the Timeline and the wait insertion.
//
// The rewriting must grow linearly with the script even when almost every
// character is a small kana or part of a foreign-sound pair: compare the
// per-byte times of the sizes of BM_ApplyTranslation.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_texts.h"
#include "translate/translation_dictionary.h"
#include "translate/scanner.h"
#include "voice_data/settings.h"
#include "voice_data/config_text.h"

namespace {

void prepare() {
    vokari::load_defaults();
    if (vokari::translation_dictionary.empty()) vokari::add_system_pairs();
}

// Shift_JIS text of at least `bytes` bytes, made of small kana, foreign-sound
// pairs that the built-in pairs fold, and plain kana between them.
std::string foreign_sound_text(std::size_t bytes) {
    const std::string unit = bench::to_shift_jis(
        "でぃぃふぁヴァイオリンぁぃぅぇぉゎトゥデュﾁﾞｬｧｨヂョヴヴぢゃでぃあぃきゃっ");
    std::string text;
    while (text.size() < bytes) text += unit;
    return text;
}

void BM_ApplyTranslation(benchmark::State& state) {
    prepare();
    const std::string script = foreign_sound_text(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string text = script;
        vokari::apply_translation(text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(script.size()));
}

// The per-request work of a typical 40-character line: translation, scan
// and wait insertion.
void BM_TypicalLineTranslateScanWaits(benchmark::State& state) {
    prepare();
    const std::string script = bench::to_shift_jis(std::string("\\0") + bench::typical_line_kana());
    for (auto _ : state) {
        std::string voice = script;
        std::string reply = script;
        vokari::apply_translation(voice);
        const std::int64_t total_ms = vokari::scan_script(voice);
        vokari::insert_waits(reply, total_ms);
        benchmark::DoNotOptimize(reply.data());
    }
}

void BM_ScanTypicalLine(benchmark::State& state) {
    prepare();
    const std::string script = bench::to_shift_jis(std::string("\\0") + bench::typical_line_kana());
    for (auto _ : state) benchmark::DoNotOptimize(vokari::scan_script(script));
}

void BM_ScanAndWaits64K(benchmark::State& state) {
    prepare();
    std::string script;
    while (script.size() < 65536) script += bench::to_shift_jis(std::string("\\0@+[1]") + bench::typical_line_kana());
    for (auto _ : state) {
        std::string reply = script;
        vokari::insert_waits(reply, vokari::scan_script(script));
        benchmark::DoNotOptimize(reply.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(script.size()));
}

// A megabyte of tags that never close: each bracket search fails, and must
// not walk the rest of the script again for every tag.
void BM_ScanAndWaitsUnclosedTags1M(benchmark::State& state) {
    prepare();
    std::string script;
    while (script.size() < (1u << 20)) script += "\\_w[@+[[";
    for (auto _ : state) {
        std::string reply = script;
        vokari::insert_waits(reply, vokari::scan_script(script));
        benchmark::DoNotOptimize(reply.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(script.size()));
}

}  // namespace

BENCHMARK(BM_ApplyTranslation)->RangeMultiplier(2)->Range(8 << 10, 128 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypicalLineTranslateScanWaits)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanTypicalLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanAndWaits64K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanAndWaitsUnclosedTags1M)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
