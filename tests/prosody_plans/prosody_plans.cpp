// Writes the prosody model's plans of a few lines (every phoneme's timing and
// every frame's log-F0 as the bits of its double) to a file, and compares it
// with the same file written by another build: the DLL's build under wine
// must give the native build's bytes.
//
//   prosody_plans VOICE_FOLDER OUTPUT [OTHER_BUILDS_OUTPUT]
// Exit status 0: written (and equal); 1: differs or cannot plan; 77: the
// other build's output is missing.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "reading/prosody_model.h"
#include "reading/text_reader.h"

namespace {

// The lines in Shift_JIS: こんにちは。そうです、雨が降る？ / 今日はいい天気
// ですね、明日も晴れるといいのですが。 / 東京へ行ったことがありますか
const char* const kLines[] = {
    "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x42\x82\xBB\x82\xA4\x82\xC5\x82\xB7\x81\x41\x89\x4A\x82\xAA"
    "\x8D\x7E\x82\xE9\x81\x48",
    "\x8D\xA1\x93\xFA\x82\xCD\x82\xA2\x82\xA2\x93\x56\x8B\x43\x82\xC5\x82\xB7\x82\xCB\x81\x41\x96\xBE\x93\xFA"
    "\x82\xE0\x90\xB0\x82\xEA\x82\xE9\x82\xC6\x82\xA2\x82\xA2\x82\xCC\x82\xC5\x82\xB7\x82\xAA\x81\x42",
    "\x93\x8C\x8B\x9E\x82\xD6\x8D\x73\x82\xC1\x82\xBD\x82\xB1\x82\xC6\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7"
    "\x82\xA9",
};
const double kSettings[][2] = {{1.0, 1.0}, {1.3, 0.6}, {0.8, 1.5}};  // tempo, range

std::string bits(double value) {
    std::uint64_t word = 0;
    std::memcpy(&word, &value, sizeof word);
    char text[17];
    for (int i = 15; i >= 0; --i, word >>= 4) text[i] = "0123456789abcdef"[word & 0xF];
    text[16] = '\0';
    return text;
}

std::string read_file(const std::string& path, bool& found) {
    std::ifstream file(path, std::ios::binary);
    found = static_cast<bool>(file);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: prosody_plans VOICE_FOLDER OUTPUT [OTHER_BUILDS_OUTPUT]\n");
        return 1;
    }
    const std::string voice = argv[1];
    vokari::TextReader reader;
    vokari::ProsodyModel model;
    const std::string reader_problem = reader.open(voice + "/naist-jdic");
    const std::string model_problem = model.open(voice + "/" + vokari::kTrainedVoiceFileName);
    if (!reader_problem.empty() || !model_problem.empty()) {
        std::fprintf(stderr, "prosody_plans: %s%s\n", reader_problem.c_str(), model_problem.c_str());
        return 1;
    }
    std::string out;
    for (const char* line : kLines) {
        std::vector<vokari::ReadWord> words;
        reader.analyse(line, std::strlen(line), words);
        for (const auto& setting : kSettings) {
            const vokari::ProsodyPlan plan = model.plan(words, setting[0], setting[1]);
            if (plan.frame_ms == 0) return 1;
            for (const vokari::ProsodyPhoneme& p : plan.phonemes)
                out += p.name + " " + std::to_string(p.start_ms) + " " + std::to_string(p.length_ms) + " " +
                       std::to_string(p.devoiced) + " " + std::to_string(p.mora) + "\n";
            for (const vokari::ProsodyMora& m : plan.morae)
                out +=
                    std::to_string(m.start_ms) + " " + std::to_string(m.vowel_start_ms) + " " + bits(m.log_f0) + "\n";
            for (const double value : plan.log_f0) out += bits(value) + "\n";
        }
    }
    std::ofstream(argv[2], std::ios::binary) << out;
    if (argc < 4) return 0;
    bool found = false;
    const std::string other = read_file(argv[3], found);
    if (!found) {
        std::printf("prosody_plans: no output of the other build at %s\n", argv[3]);
        return 77;
    }
    if (other == out) return 0;
    std::printf("prosody_plans: %s differs from %s\n", argv[2], argv[3]);
    return 1;
}
