// What a scan of one script leaves besides the timeline: its length, and the
// per-request wishes that its voice-control tags expressed.
#pragma once

#include <cstdint>
#include <string>

namespace vokari {

// A sound file asked for by "wavout[" / "wavouts[": the full path (module
// directory, backslash, the tag's argument, which may carry ",effect,delete"
// after the path) and whether the speech is saved without being played.
struct SoundFileRequest {
    std::string target;   // path[,effect name[,delete flag]]; empty: no file
    int silent = 0;
};

struct ScanResult {
    // Total duration in milliseconds; 0 means nothing is to be rendered.
    std::int64_t total_ms = 0;
    // Set by the voice-control tag "o": the reply hides the script's text.
    bool omit_text = false;
    // The size of one pitch step ("u["), in steps of the factor 1.014546.
    double pitch_step = 1.0;
    SoundFileRequest sound_file;
};

}  // namespace vokari
