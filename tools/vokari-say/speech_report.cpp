// The checks behind vokari-say's notes and its exit status.
#include "tools/vokari-say/speech_report.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/text/utf8.h"
#include "vokari_voice_format.h"

namespace vokari {
namespace say {
namespace {
namespace fs = std::filesystem;

// The decoded level up to which a sample counts as silence (the codes next to
// zero decode to 2 and 4).
constexpr int kSilenceLevel = 4;

bool is_sample_name(const std::string& name) {
    const size_t dot = name.find('.');
    if (dot == 0 || dot == std::string::npos) return false;
    for (size_t i = 0; i < dot; ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    const std::string ending = name.substr(dot);
    return ending == ".wav" || ending == ".hv1";
}

// The entries of the folder `dir`; none when it cannot be read.
fs::directory_iterator entries(const std::string& dir) {
    std::error_code unreadable;
    return fs::directory_iterator(fs::u8path(dir), unreadable);
}

bool folder_has_sample(const std::string& folder) {
    for (const fs::directory_entry& entry : entries(folder))
        if (is_sample_name(entry.path().filename().u8string())) return true;
    return false;
}

bool is_silent(const MuLawWav& sound) {
    for (int value : sound.samples)
        if (value > kSilenceLevel || value < -kSilenceLevel) return false;
    return true;
}

std::string seconds(long long ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

// A silence that comes from kanji nobody gave a reading: the samples are fine.
std::string no_reading(const std::string& voice_dir) {
    return "nothing was heard: the script's kanji have no reading in this voice (only kana are spoken); a reading "
           "dictionary turns them into kana: copy the bundled reading.dic into " +
           voice_dir + " and add the line voice.translate.dic,reading.dic to its vokari.txt";
}

}  // namespace

bool voice_has_samples(const std::string& voice_dir) {
    for (const auto& group : vokari::kSampleFolders)
        for (const char* folder : group)
            if (folder_has_sample(voice_dir + "/" + folder)) return true;
    return false;
}

std::string voice_folder_below(const std::string& voice_dir) {
    for (const fs::directory_entry& entry : entries(voice_dir)) {
        const std::string below = voice_dir + "/" + entry.path().filename().u8string();
        if (voice_has_samples(below)) return below;
    }
    return "";
}

SpeechReport judge_speech(const SpeechFacts& facts) {
    SpeechReport report;
    std::vector<std::string>& notes = report.notes;
    bool heard = facts.sound_written && !is_silent(facts.sound);
    if (!facts.voice_has_samples) {
        std::string note = "nothing can be spoken: " + facts.voice_dir +
                           " holds no samples (no numbered .wav or .hv1 files in vokariv0, vokariv1, vokaric0 or "
                           "vokaric1), so it is not a voice folder";
        if (!facts.voice_below.empty())
            note += "; " + facts.voice_below + " is one: try --module-dir " + facts.voice_below;
        notes.push_back(note);
        heard = false;
    } else if (!facts.sound_written) {
        if (facts.module_error) notes.push_back("nothing was spoken: the module failed (see its ERROR line above)");
        else if (facts.talk_default_speed <= 0)
            notes.push_back("nothing was spoken: talk.default.speed is " + std::to_string(facts.talk_default_speed) +
                            " in " + facts.voice_dir +
                            "/vokari.txt, which gives every kana no time and mutes the voice");
        else if (facts.script_has_kanji) notes.push_back(no_reading(facts.voice_dir));
        else
            notes.push_back(
                "nothing was spoken: the script has nothing to say (the voice says kana and what its reading "
                "step and dictionaries turn into kana; the voice tag n silences the whole script)");
    } else if (!heard && facts.script_has_kanji) {
        notes.push_back(no_reading(facts.voice_dir));
    } else if (!heard) {
        notes.push_back(
            "the speech is silent: the voice's samples or their levels give no sound (see the "
            "voice's vokari.txt and details.txt)");
    }
    const bool cut = facts.sound_written && facts.sound.samples.size() >= kModuleSampleLimit;
    if (cut) {
        notes.push_back("the speech was cut at the module's limit of " +
                        seconds(static_cast<long long>(kModuleSampleLimit) * 1000 / 22050) +
                        "; the reply's text and waits run on to " + seconds(facts.reply_end_ms) +
                        " in silence: split the script");
    }
    if (facts.playing && !facts.sound_device && heard) {
        notes.push_back("nothing was played: " + facts.device_problem +
                        "; --output FILE saves the speech, --no-play skips playing");
        heard = false;
    }
    report.spoken_in_full = heard && !cut;
    return report;
}

}  // namespace say
}  // namespace vokari
