// The renderer: plays the Timeline through the phoneme samples and the sound
// effects and writes the mixed mu-law bytes.
#pragma once

#include <cstdint>

namespace vokari {

// Writes `samples` mu-law bytes to `out` (the bytes after the WAV header).
void render_timeline(std::uint8_t* out, std::int32_t samples);

}  // namespace vokari
