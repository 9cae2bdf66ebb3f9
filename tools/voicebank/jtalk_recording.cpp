// open_jtalk runs as a child process (no shell) with its text, speech and
// trace in a scratch folder; its trace carries the phoneme labels with their
// times, so the syllable is cut where the synthesiser put it.
#include "jtalk_recording.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "audio_input.h"
#include "pitch_period.h"

extern char** environ;

namespace vokari {
namespace voicebank {
namespace {

constexpr int kSynthesisRate = 48000;

bool is_file(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

// Whether `program` can be run: a path, or a name found on PATH.
bool program_found(const std::string& program) {
    if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

// Runs argv[0] with stdout and stderr discarded; true when it exits with 0.
bool run_quietly(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool is_vowel_label(const std::string& name) {
    return name == "a" || name == "i" || name == "u" || name == "e" || name == "o" || name == "N";
}

}  // namespace

JtalkVoice bundled_jtalk_voice(int speaker) {
    JtalkVoice voice;
    if (speaker == 0) {
        voice.half_tones = 8.0;
        voice.all_pass = 0.62;
    }
    return voice;
}

std::string missing_jtalk_parts(const JtalkVoice& voice) {
    std::string missing;
    if (!program_found(voice.program)) {
        missing += "the program " + voice.program + " (Debian package open-jtalk)\n";
    }
    if (!is_file(voice.dictionary + "/sys.dic")) {
        missing += "the dictionary " + voice.dictionary + " (Debian package open-jtalk-mecab-naist-jdic)\n";
    }
    if (!is_file(voice.voice)) {
        missing += "the HTS voice " + voice.voice +
                   " (Debian package hts-voice-nitech-jp-atr503-m001, in the contrib area: add \"contrib\" to "
                   "the Components of an apt source)\n";
    }
    return missing;
}

std::vector<PhonemeLabel> parse_trace_labels(const std::string& trace, int rate) {
    std::vector<PhonemeLabel> labels;
    std::istringstream lines(trace);
    std::string line;
    bool in_section = false;
    while (std::getline(lines, line)) {
        if (line.rfind("[Output label]", 0) == 0) {
            in_section = true;
            continue;
        }
        if (!in_section) continue;
        if (line.empty() || line[0] == '[') break;
        std::istringstream fields(line);
        long long begin = 0;
        long long end = 0;
        std::string full;
        if (!(fields >> begin >> end >> full)) continue;
        // "p1^p2-CURRENT+n1=n2/A:..." names the current phoneme between - and +.
        const size_t minus = full.find('-');
        const size_t plus = full.find('+', minus == std::string::npos ? 0 : minus);
        if (minus == std::string::npos || plus == std::string::npos) continue;
        PhonemeLabel label;
        label.name = full.substr(minus + 1, plus - minus - 1);
        label.begin = static_cast<long>(begin * rate / 10000000LL);
        label.end = static_cast<long>(end * rate / 10000000LL);
        labels.push_back(label);
    }
    return labels;
}

JtalkRecording record_with_jtalk(const std::string& text, const JtalkVoice& voice, const std::string& scratch_dir) {
    JtalkRecording recording;
    const std::string text_path = scratch_dir + "/text.txt";
    const std::string wav_path = scratch_dir + "/speech.wav";
    const std::string trace_path = scratch_dir + "/trace.txt";
    std::ofstream(text_path, std::ios::binary) << text << "\n";
    std::remove(wav_path.c_str());
    if (!run_quietly({voice.program, "-x", voice.dictionary, "-m", voice.voice, "-s", std::to_string(kSynthesisRate),
                      "-fm", number(voice.half_tones), "-a", number(voice.all_pass), "-r", number(voice.speed), "-ow",
                      wav_path, "-ot", trace_path, text_path})) {
        recording.error = voice.program + " failed to speak " + text;
        return recording;
    }
    AudioReadResult audio = read_recording(wav_path, kBankRate);
    if (!audio.error.empty()) {
        recording.error = wav_path + ": " + audio.error;
        return recording;
    }
    std::ifstream trace_file(trace_path, std::ios::binary);
    const std::string trace((std::istreambuf_iterator<char>(trace_file)), {});
    recording.samples = std::move(audio.samples);
    recording.labels = parse_trace_labels(trace, kBankRate);
    if (recording.labels.empty()) recording.error = trace_path + ": no phoneme labels";
    return recording;
}

SyllableCut cut_syllable(const JtalkRecording& recording, int first_phoneme, int trailing, bool with_consonant,
                         long longest_consonant) {
    SyllableCut cut;
    std::vector<const PhonemeLabel*> spoken;
    for (const PhonemeLabel& label : recording.labels) {
        if (label.name != "sil" && label.name != "pau") spoken.push_back(&label);
    }
    const int last = static_cast<int>(spoken.size()) - 1 - trailing;
    const int vowel_index = first_phoneme + (with_consonant ? 1 : 0);
    if (first_phoneme < 0 || trailing < 0 || vowel_index > last) return cut;
    if (with_consonant == is_vowel_label(spoken[first_phoneme]->name)) return cut;
    for (int i = vowel_index; i <= last; ++i) {
        if (spoken[i]->name != spoken[vowel_index]->name || !is_vowel_label(spoken[i]->name)) return cut;
    }
    const long vowel = spoken[vowel_index]->begin;
    const long begin = std::max(spoken[first_phoneme]->begin, vowel - longest_consonant);
    const long end = std::min(spoken[last]->end, static_cast<long>(recording.samples.size()));
    if (end <= vowel || begin < 0) return cut;
    cut.samples.assign(recording.samples.begin() + begin, recording.samples.begin() + end);
    cut.vowel_start = vowel - begin;
    if (with_consonant) {
        cut.consonant = spoken[first_phoneme]->name;
        cut.model_consonant = vowel - spoken[first_phoneme]->begin;
    }
    cut.ok = true;
    return cut;
}

namespace {

struct PeriodTrack {
    std::vector<long> centres;
    std::vector<double> periods;
};

// The vowel's pitch every 5 ms where it is clearly voiced.
PeriodTrack vowel_pitch_track(const SyllableCut& cut) {
    constexpr long kHop = 110;  // 5 ms
    PeriodTrack track;
    const long n = static_cast<long>(cut.samples.size());
    for (long at = cut.vowel_start; at + 2 * kMaxPeriod <= n; at += kHop) {
        const PeriodEstimate estimate = estimate_period(cut.samples, at);
        if (estimate.period <= 0.0 || estimate.aperiodicity > 0.3) continue;
        track.centres.push_back(at + kMaxPeriod / 2);
        track.periods.push_back(estimate.period);
    }
    return track;
}

}  // namespace

double vowel_period(const SyllableCut& cut) {
    std::vector<double> sorted = vowel_pitch_track(cut).periods;
    if (sorted.size() < 3) return 0.0;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
}

void flatten_vowel_pitch(SyllableCut& cut, double target_period) {
    constexpr long kEase = 220;  // 10 ms
    const std::vector<float>& x = cut.samples;
    const long n = static_cast<long>(x.size());
    const PeriodTrack track = vowel_pitch_track(cut);
    const std::vector<long>& centres = track.centres;
    const std::vector<double>& periods = track.periods;
    if (periods.size() < 3 || target_period <= 0.0) return;
    const double target = target_period;
    // Reading rate at sample i: the local period over the target, held
    // beyond the first and last measured frame.
    auto rate_at = [&](double i) {
        if (i < static_cast<double>(cut.vowel_start)) return 1.0;
        size_t k = 0;
        while (k + 1 < centres.size() && static_cast<double>(centres[k + 1]) <= i) ++k;
        double period = periods[k];
        if (k + 1 < centres.size() && i > static_cast<double>(centres[k])) {
            const double t = (i - static_cast<double>(centres[k])) / static_cast<double>(centres[k + 1] - centres[k]);
            period = periods[k] + t * (periods[k + 1] - periods[k]);
        }
        const double ease = std::min(1.0, (i - static_cast<double>(cut.vowel_start)) / kEase);
        return 1.0 + ease * (period / target - 1.0);
    };
    std::vector<float> y;
    y.reserve(x.size() + x.size() / 4);
    for (double position = 0.0; position < static_cast<double>(n - 1); position += rate_at(position)) {
        const long i = static_cast<long>(position);
        const double t = position - static_cast<double>(i);
        y.push_back(static_cast<float>(x[i] + t * (x[i + 1] - x[i])));
    }
    cut.samples = std::move(y);
}

}  // namespace voicebank
}  // namespace vokari
