// vokari-voice-measures: how natural a voice bank sounds, by three measures
// printed for each voice given (by default voices/default and voices/espeak):
//
//  - even syllables: the steady vowel of every sample, after its details'
//    rate and level corrections: the share within 2 dB of the median level
//    of the samples with the same vowel, and within 3 % of the speaker's
//    median pitch;
//  - joins: the mean log-spectral distance between the 20 ms before and the
//    20 ms after each phoneme start, in each speaker's rendering of the 50
//    sentences of voice_sentences.txt; Open JTalk's own speech of the same
//    sentences measured at its mora boundaries for reference; with them the
//    longest stretch below -40 dBFS between two kana spoken without a pause;
//  - word starts: how long after its first kana each of a few words has its
//    first voiced frame, per speaker;
//  - closeness: the mean mel-cepstral distortion between each rendering and
//    Open JTalk's own, after dynamic time warping.
//
//   vokari-voice-measures [--sentences FILE] [VOICE_DIR...]
//
// The last two need open_jtalk and its HTS voice (Debian's contrib area); when
// they are missing those measures are skipped with a message.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_texts.h"
#include "bench/speech_distances.h"
#include "details_file.h"
#include "base/mulaw.h"
#include "host/module.h"
#include "jtalk_recording.h"
#include "pitch_period.h"
#include "syllables.h"
#include "synth/renderer.h"
#include "base/wav_format.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "translate/timeline.h"
#include "vokari_voice_format.h"

using namespace vokari::voicebank;

namespace {

constexpr double kFullScale = 8158.0;
constexpr long kHalf = 441;  // 20 ms either side of a boundary

std::vector<float> decode(const std::vector<std::uint8_t>& bytes, size_t from) {
    std::vector<float> x;
    for (size_t i = from; i < bytes.size(); ++i) {
        x.push_back(static_cast<float>(vokari::mulaw_decode_table[bytes[i]] / kFullScale));
    }
    return x;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double rms(const std::vector<float>& x, long begin, long end) {
    double sum = 0.0;
    for (long i = begin; i < end; ++i) sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
}

void measure_even_syllables(const std::string& voice) {
    for (int speaker : {0, 1}) {
        std::vector<char> vowel_of;
        std::vector<double> levels, pitches;
        for (int slot = 0; slot < kSyllableCount; ++slot) {
            const bool vowel = is_vowel_syllable(slot);
            const std::string dir = voice + (vowel ? "/vokariv" : "/vokaric") + std::to_string(speaker);
            const auto details = voicebank_test::read_details(dir + "/details.txt");
            std::ifstream in(dir + "/" + std::to_string(slot) + ".wav", std::ios::binary);
            const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), {});
            if (file.size() <= vokari::kWavHeaderSize || !details.count(slot)) continue;
            const std::vector<float> x = decode(file, vokari::kWavHeaderSize);
            const auto& d = details.at(slot);
            const double rate = d.count("correct.frequency") ? d.at("correct.frequency") : 1.0;
            const double level = d.count("correct.level") ? d.at("correct.level") : 1.0;
            const long end = static_cast<long>(x.size()) - 220;
            long begin = 0;
            if (vowel) {
                begin = d.count("loopchunkofset") ? static_cast<long>(d.at("loopchunkofset")) : 0;
            } else {
                // The delay is kept in output samples: the sample plays at `rate`.
                const long delay = static_cast<long>(d.at("adjust.vowel.delay") * rate);
                begin = delay + (end - delay) / 4;
            }
            if (end - begin < 2 * kMaxPeriod + 1) continue;
            const double period = median_period(x, begin, end);
            if (period <= 0.0) continue;
            const std::string romaji = kSyllables[slot].romaji;
            vowel_of.push_back(romaji.back());
            levels.push_back(20.0 * std::log10(rms(x, begin, end) * level));
            pitches.push_back(22050.0 * rate / period);
        }
        int level_ok = 0, pitch_ok = 0;
        const double pitch_median = median(pitches);
        for (size_t i = 0; i < levels.size(); ++i) {
            std::vector<double> same;
            for (size_t j = 0; j < levels.size(); ++j) {
                if (vowel_of[j] == vowel_of[i]) same.push_back(levels[j]);
            }
            if (std::fabs(levels[i] - median(same)) <= 2.0) ++level_ok;
            if (std::fabs(pitches[i] / pitch_median - 1.0) <= 0.03) ++pitch_ok;
        }
        const double n = static_cast<double>(levels.size());
        std::printf(
            "  speaker %d: %zu samples measured, median F0 %.1f Hz; level within 2 dB %.1f %%, "
            "F0 within 3 %% %.1f %%\n",
            speaker, levels.size(), pitch_median, 100.0 * level_ok / n, 100.0 * pitch_ok / n);
    }
}

struct Speech {
    std::vector<float> samples;
    std::vector<long> boundaries;
};

// Speaker `speaker` of the loaded module says `kana` (UTF-8); `runs` gets
// the spans from the first to the last phoneme start of each stretch spoken
// without a pause.
Speech render_speaker(vokari::Module& module, int speaker, const std::string& kana,
                      std::vector<std::pair<long, long>>* runs = nullptr) {
    Speech speech;
    vokari::Timeline timeline;
    const std::string script = bench::to_shift_jis((speaker == 0 ? "\\0" : "\\1") + kana);
    const vokari::ScanResult scan = vokari::scan_script(module.voice, script, timeline);
    const std::int64_t count =
        std::min<std::int64_t>(vokari::output_sample_count(scan.total_ms), vokari::kMaxOutputSamples);
    std::vector<std::uint8_t> out(static_cast<size_t>(count));
    vokari::render_timeline(module.voice, timeline, out.data(), static_cast<std::int32_t>(count));
    speech.samples = decode(out, 0);
    long run_start = -1, run_end = -1;
    for (const vokari::PhonemeEvent& event : timeline.phoneme_events[speaker]) {
        if (event.slot >= 0) {
            speech.boundaries.push_back(event.time);
            if (run_start < 0) run_start = event.time;
            run_end = event.time;
        } else {
            if (runs != nullptr && run_end > run_start) runs->emplace_back(run_start, run_end);
            run_start = run_end = -1;
        }
    }
    if (runs != nullptr && run_end > run_start) runs->emplace_back(run_start, run_end);
    return speech;
}

constexpr long kQuietFrame = 110;  // 5 ms

// The longest stretch of 5 ms frames below -40 dBFS within [begin, end), in ms.
double longest_quiet_ms(const std::vector<float>& x, long begin, long end) {
    long longest = 0, current = 0;
    for (long at = begin; at + kQuietFrame <= std::min(end, static_cast<long>(x.size())); at += kQuietFrame) {
        current = 20.0 * std::log10(rms(x, at, at + kQuietFrame) + 1e-12) < -40.0 ? current + kQuietFrame : 0;
        longest = std::max(longest, current);
    }
    return 1000.0 * static_cast<double>(longest) / 22050.0;
}

// Milliseconds from `start` to the first 10 ms frame that is voiced (a clear
// pitch period) and above -40 dBFS; -1 when none within a second.
double first_voiced_ms(const std::vector<float>& x, long start) {
    constexpr long kStep = 220;
    for (long at = start; at < start + 22050 && at + 2 * kMaxPeriod < static_cast<long>(x.size()); at += kStep) {
        if (20.0 * std::log10(rms(x, at, at + kStep) + 1e-12) < -40.0) continue;
        const PeriodEstimate estimate = estimate_period(x, at);
        if (estimate.period > 0.0 && estimate.aperiodicity < 0.2) return 1000.0 * (at - start) / 22050.0;
    }
    return -1.0;
}

// The words whose starts are measured: a greeting, and consonants that open
// a word with a closure, a burst or a long glide.
const char* const kWords[] = {"こんにちは", "この", "こーひー", "つくえ", "ちゅうい", "ぎゅうにゅう"};

void measure_word_starts(const std::string& voice) {
    vokari::Module module;
    vokari::load_module(module, voice.data(), static_cast<long>(voice.size()));
    for (int speaker : {0, 1}) {
        std::printf("  speaker %d, first voiced frame after the word's start:", speaker);
        for (const char* word : kWords) {
            const Speech speech = render_speaker(module, speaker, word);
            const long start = speech.boundaries.empty() ? 0 : speech.boundaries.front();
            std::printf(" %s %.0f ms", word, first_voiced_ms(speech.samples, start));
        }
        std::printf("\n");
    }
    vokari::unload_module(module);
}

// Mean log-spectral distance across `boundaries`; boundaries next to silence
// are no joins and are skipped.
void add_join_distances(const Speech& speech, double& sum, int& count) {
    for (long at : speech.boundaries) {
        const std::vector<double> before = bench::log_spectrum(speech.samples, at - kHalf);
        const std::vector<double> after = bench::log_spectrum(speech.samples, at);
        if (before.empty() || after.empty()) continue;
        sum += bench::log_spectral_distance(before, after);
        ++count;
    }
}

bool ends_mora(const std::string& name) {
    return name == "a" || name == "i" || name == "u" || name == "e" || name == "o" || name == "N" || name == "cl" ||
           name == "A" || name == "I" || name == "U" || name == "E" || name == "O";
}

}  // namespace

int main(int argc, char** argv) {
    std::string sentences_path = std::string(VOKARI_SOURCE_DIR) + "/bench/voice_sentences.txt";
    std::vector<std::string> voices;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sentences" && i + 1 < argc) {
            sentences_path = argv[++i];
        } else {
            voices.push_back(arg);
        }
    }
    if (voices.empty()) {
        voices = {std::string(VOKARI_SOURCE_DIR) + "/voices/default",
                  std::string(VOKARI_SOURCE_DIR) + "/voices/espeak"};
    }

    std::printf("Even syllables (steady vowel of each sample, after its corrections):\n");
    for (const std::string& voice : voices) {
        std::printf(" %s\n", voice.c_str());
        measure_even_syllables(voice);
    }

    std::printf("Word starts:\n");
    for (const std::string& voice : voices) {
        std::printf(" %s\n", voice.c_str());
        measure_word_starts(voice);
    }

    JtalkVoice source;
    source.speed = 1.0;
    const std::string missing = missing_jtalk_parts(source);
    if (!missing.empty()) {
        std::printf("Joins and closeness to Open JTalk skipped: missing\n%s", missing.c_str());
        return 0;
    }
    std::vector<std::string> sentences;
    std::ifstream in(sentences_path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') sentences.push_back(line);  // '#' opens a comment line
    }
    char scratch_template[] = "/tmp/vokari-measures-XXXXXX";
    if (mkdtemp(scratch_template) == nullptr) return 1;

    std::vector<Speech> reference;
    double reference_sum = 0.0;
    int reference_count = 0;
    for (const std::string& sentence : sentences) {
        const JtalkRecording recording = record_with_jtalk(sentence, source, scratch_template);
        if (!recording.error.empty()) {
            std::fprintf(stderr, "%s\n", recording.error.c_str());
            return 1;
        }
        Speech speech;
        speech.samples = recording.samples;
        for (size_t i = 1; i < recording.labels.size(); ++i) {
            const std::string& name = recording.labels[i].name;
            if (name != "sil" && name != "pau" && ends_mora(recording.labels[i - 1].name)) {
                speech.boundaries.push_back(recording.labels[i].begin);
            }
        }
        add_join_distances(speech, reference_sum, reference_count);
        reference.push_back(std::move(speech));
    }
    std::string remove = std::string("rm -rf ") + scratch_template;
    if (std::system(remove.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", scratch_template);
    std::printf("Joins (mean log-spectral distance, 20 ms either side), %zu sentences:\n", sentences.size());
    std::printf("  Open JTalk's own speech at mora boundaries: %.2f dB over %d boundaries\n",
                reference_sum / reference_count, reference_count);

    for (const std::string& voice : voices) {
        vokari::Module module;
        vokari::load_module(module, voice.data(), static_cast<long>(voice.size()));
        std::printf(" %s\n", voice.c_str());
        for (int speaker : {0, 1}) {
            double join_sum = 0.0, distortion_sum = 0.0, quiet = 0.0;
            int join_count = 0, distortion_count = 0;
            for (size_t s = 0; s < sentences.size(); ++s) {
                std::vector<std::pair<long, long>> runs;
                const Speech speech = render_speaker(module, speaker, sentences[s], &runs);
                add_join_distances(speech, join_sum, join_count);
                for (const auto& run : runs)
                    quiet = std::max(quiet, longest_quiet_ms(speech.samples, run.first, run.second));
                const double distortion = bench::aligned_cepstral_distortion(bench::mel_cepstra(speech.samples),
                                                                             bench::mel_cepstra(reference[s].samples));
                if (!std::isnan(distortion)) {
                    distortion_sum += distortion;
                    ++distortion_count;
                }
            }
            std::printf(
                "  speaker %d: joins %.2f dB over %d boundaries (%.2f x Open JTalk's); longest stretch below "
                "-40 dBFS between kana %.0f ms; mel-cepstral distortion to Open JTalk %.2f dB\n",
                speaker, join_sum / join_count, join_count, join_sum / join_count / (reference_sum / reference_count),
                quiet, distortion_sum / distortion_count);
        }
        vokari::unload_module(module);
    }
    return 0;
}
