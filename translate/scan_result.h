// What a scan of one script leaves besides the timeline: its length, and the
// per-request wishes that its voice-control tags expressed.
#pragma once

#include <cstdint>
#include <string>

#include "translate/sound_file_request.h"

namespace vokari {

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
