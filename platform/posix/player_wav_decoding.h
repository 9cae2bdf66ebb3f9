// The PortAudio player's reading of the module's WAV images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vokari {
namespace platform {

// Decodes an 8-bit mu-law mono WAV image of `bytes` bytes into 16-bit samples
// and its sample rate; false for anything else (nothing is played then, as
// with SND_NODEFAULT).
bool decode_mulaw_wav(const std::uint8_t* image, std::size_t bytes, std::vector<std::int16_t>& samples,
                      double& sample_rate);

}  // namespace platform
}  // namespace vokari
