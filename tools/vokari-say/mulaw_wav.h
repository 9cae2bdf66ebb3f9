// Reading the mu-law WAV files that the module writes.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace say {

struct MuLawWav {
    bool ok = false;
    std::string error;
    int sample_rate = 0;       // samples per second
    std::vector<int> samples;  // linear values, -8158 .. 8158
};

// Reads a RIFF WAV file holding 8-bit mono mu-law samples (format tag 7) and
// decodes them; fails with a message on any other file.
MuLawWav read_mulaw_wav(const std::string& path);

// Length of the sound in milliseconds (0 for an unreadable file).
int duration_ms(const MuLawWav& wav);

}  // namespace say
}  // namespace vokari
