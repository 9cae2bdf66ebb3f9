// Telling the user when a script was not, or not fully, spoken: the module
// itself stays silent in these cases.
#pragma once

#include <string>
#include <vector>

#include "tools/vokari-say/mulaw_wav.h"

namespace vokari {
namespace say {

// The most samples the module renders for one script (about 47.55 s); longer
// speech is cut there.
constexpr size_t kModuleSampleLimit = 1048576;

struct SpeechFacts {
    std::string voice_dir;          // the voice folder, for the messages
    bool voice_has_samples = true;  // see voice_has_samples()
    std::string voice_below;        // a subfolder that holds a voice, when the voice folder has none
    int talk_default_speed = 130;   // the voice's setting (ms per kana)
    bool script_has_kanji = false;  // said only through a reading dictionary
    bool sound_written = false;     // the module rendered and wrote the sound
    bool module_error = false;      // the module's log has an ERROR line for it
    MuLawWav sound;                 // that sound
    int reply_end_ms = 0;           // when the reply's text and waits end
    bool playing = false;           // the sound is to be played
    bool sound_device = true;       // there is a device to play it on
    std::string device_problem;     // why there is none
};

struct SpeechReport {
    bool spoken_in_full = false;     // something was heard (or rendered, when not played) and nothing was cut
    std::vector<std::string> notes;  // what the user should know, one message each
};

// Judges what was spoken and explains every silence.
SpeechReport judge_speech(const SpeechFacts& facts);

// True when one of the voice folder's four sample folders holds a sample file
// ("<slot>.wav" or "<slot>.hv1").
bool voice_has_samples(const std::string& voice_dir);

// The first subfolder of `voice_dir` (one level down) that holds samples, or "".
std::string voice_folder_below(const std::string& voice_dir);

}  // namespace say
}  // namespace vokari
