// Writing a recording for vokari-voicebank to read: the recorders' output and
// the tests' made-up recordings, one mono WAV file each.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

// Writes `samples` (+-1.0 full scale) at `rate` Hz to `path`: as float
// samples, which the builder reads without loss, or with `pcm16` as 16-bit
// samples clipped at full scale.  False on failure.
bool write_recording(const std::string& path, const std::vector<float>& samples, int rate, bool pcm16 = false);

}  // namespace voicebank
}  // namespace vokari
