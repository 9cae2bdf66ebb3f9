// Reading back a RIFF WAV image of 8-bit mono mu-law samples, the module's own
// sound format: the player plays such images, vokari-say draws and measures
// such files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vokari {

// Where the samples of a mu-law WAV image stand.
struct MulawSamples {
    std::uint32_t sample_rate = 0;        // samples per second, 1 .. INT32_MAX
    const std::uint8_t* bytes = nullptr;  // the mu-law bytes of the "data" chunk
    std::size_t count = 0;                // cut short where the image ends
};

enum class MulawWavProblem {
    none,
    not_wav,           // no "RIFF" ... "WAVE" header
    not_mulaw,         // a "fmt " chunk for anything but 8-bit mono mu-law (tag 7)
    no_usable_format,  // "data" before a "fmt " chunk, or a sample rate of 0
    no_data,           // no "data" chunk within the image
};

// Walks the chunks of `image` (skipping any it does not know) to the "data"
// chunk.  `out` is set only when the answer is none.
MulawWavProblem find_mulaw_samples(const std::uint8_t* image, std::size_t size, MulawSamples& out);

}  // namespace vokari
