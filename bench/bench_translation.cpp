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
#include "translate/wait_insertion.h"
#include "host/module.h"

namespace {

// A module object on its defaults with the built-in pairs, and a timeline
// that the scans reuse.
struct Prepared {
    Prepared() {
        vokari::load_defaults(module.voice);
        vokari::add_system_pairs(module.voice.settings, module.dictionary);
    }
    // The scan and wait insertion of one request; returns the reply.
    void scan_and_wait(const std::string& voice, std::string& reply) {
        const vokari::ScanResult scan = vokari::scan_script(module.voice, voice, timeline);
        vokari::insert_waits(module.voice.settings, reply, scan.total_ms, scan.omit_text);
    }
    vokari::Module module;
    vokari::Timeline timeline;
};

Prepared& prepare() {
    static Prepared prepared;
    return prepared;
}

// Shift_JIS text of at least `bytes` bytes, made of small kana, foreign-sound
// pairs that the built-in pairs fold, and plain kana between them.
std::string foreign_sound_text(std::size_t bytes) {
    const std::string unit =
        bench::to_shift_jis("でぃぃふぁヴァイオリンぁぃぅぇぉゎトゥデュﾁﾞｬｧｨヂョヴヴぢゃでぃあぃきゃっ");
    std::string text;
    while (text.size() < bytes) text += unit;
    return text;
}

void BM_ApplyTranslation(benchmark::State& state) {
    Prepared& p = prepare();
    const std::string script = foreign_sound_text(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string text = script;
        vokari::apply_translation(p.module.voice.settings, p.module.dictionary, text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(script.size()));
}

// The per-request work of a typical 40-character line: translation, scan
// and wait insertion.
void BM_TypicalLineTranslateScanWaits(benchmark::State& state) {
    Prepared& p = prepare();
    const std::string script = bench::to_shift_jis(std::string("\\0") + bench::typical_line_kana());
    for (auto _ : state) {
        std::string voice = script;
        std::string reply = script;
        vokari::apply_translation(p.module.voice.settings, p.module.dictionary, voice);
        p.scan_and_wait(voice, reply);
        benchmark::DoNotOptimize(reply.data());
    }
}

void BM_ScanTypicalLine(benchmark::State& state) {
    Prepared& p = prepare();
    const std::string script = bench::to_shift_jis(std::string("\\0") + bench::typical_line_kana());
    for (auto _ : state) benchmark::DoNotOptimize(vokari::scan_script(p.module.voice, script, p.timeline).total_ms);
}

void BM_ScanAndWaits64K(benchmark::State& state) {
    Prepared& p = prepare();
    std::string script;
    while (script.size() < 65536) script += bench::to_shift_jis(std::string("\\0@+[1]") + bench::typical_line_kana());
    for (auto _ : state) {
        std::string reply = script;
        p.scan_and_wait(script, reply);
        benchmark::DoNotOptimize(reply.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(script.size()));
}

// A megabyte of tags that never close: each bracket search fails, and must
// not walk the rest of the script again for every tag.
void BM_ScanAndWaitsUnclosedTags1M(benchmark::State& state) {
    Prepared& p = prepare();
    std::string script;
    while (script.size() < (1u << 20)) script += "\\_w[@+[[";
    for (auto _ : state) {
        std::string reply = script;
        p.scan_and_wait(script, reply);
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
