// Writing a recorder's output: one mono recording as a float WAV file that
// vokari-voicebank reads without loss.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

// Writes `samples` (+-1.0 full scale) at `rate` Hz to `path`; false on failure.
bool write_recording(const std::string& path, const std::vector<float>& samples, int rate);

}  // namespace voicebank
}  // namespace vokari
