// vokari-espeak-record: records the bank's 107 syllables with espeak-ng's
// Japanese voice, one file per syllable named by its romaji, ready for
// vokari-voicebank.
//
//   vokari-espeak-record [--speaker N] [--voice NAME] [--pitch P] [--range R] [--rate WPM] OUT_DIR
//
// --speaker starts from the bundled voice of that speaker; the other options
// change single settings of it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "espeak_recording.h"
#include "recording_file.h"
#include "syllables.h"

using namespace vokari::voicebank;

namespace {

const char* const kUsage =
    "usage: vokari-espeak-record [--speaker N] [--voice NAME] [--pitch P] [--range R] [--rate WPM] OUT_DIR\n"
    "  records every syllable of the bank with espeak-ng into OUT_DIR, one WAV per syllable\n"
    "  named by its romaji (a.wav, ka.wav, ...), ready for vokari-voicebank\n"
    "  --speaker N   start from the bundled voice of speaker 0 or 1\n"
    "  --voice NAME  the espeak-ng voice (ja)\n"
    "  --pitch P, --range R, --rate WPM   espeak-ng's pitch, pitch range and speed\n";

}  // namespace

int main(int argc, char** argv) {
    EspeakVoice voice;
    std::string out_dir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--speaker" && has_value) {
            voice = bundled_voice(std::atoi(argv[++i]));
        } else if (arg == "--voice" && has_value) {
            voice.name = argv[++i];
        } else if (arg == "--pitch" && has_value) {
            voice.pitch = std::atoi(argv[++i]);
        } else if (arg == "--range" && has_value) {
            voice.range = std::atoi(argv[++i]);
        } else if (arg == "--rate" && has_value) {
            voice.rate = std::atoi(argv[++i]);
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "vokari-espeak-record: unknown option or missing value: %s\n%s", arg.c_str(), kUsage);
            return 1;
        } else {
            out_dir = arg;
        }
    }
    if (out_dir.empty()) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    std::filesystem::create_directories(out_dir);
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        const EspeakRecording recording = record_with_espeak(recording_text(slot), voice);
        const std::string path = out_dir + "/" + kSyllables[slot].romaji + ".wav";
        if (!recording.error.empty() || !write_recording(path, recording.samples, recording.rate, true)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(),
                         recording.error.empty() ? "cannot write" : recording.error.c_str());
            return 1;
        }
    }
    return 0;
}
