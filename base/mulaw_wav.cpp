// The chunk walk of a mu-law WAV image, shared by the player and vokari-say.
#include "base/mulaw_wav.h"

#include <cstring>

namespace vokari {
namespace {

std::uint32_t read_le32(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}
unsigned read_le16(const std::uint8_t* at) { return static_cast<unsigned>(at[0] | at[1] << 8); }

}  // namespace

MulawWavProblem find_mulaw_samples(const std::uint8_t* image, std::size_t size, MulawSamples& out) {
    if (size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0)
        return MulawWavProblem::not_wav;
    std::uint32_t sample_rate = 0;
    for (std::size_t at = 12; at + 8 <= size;) {
        const std::uint8_t* chunk = image + at;
        const std::size_t length = read_le32(chunk + 4);
        const std::size_t body = at + 8;
        const std::size_t available = size - body < length ? size - body : length;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && available >= 16) {
            if (read_le16(chunk + 8) != 7 || read_le16(chunk + 10) != 1 || read_le16(chunk + 22) != 8)
                return MulawWavProblem::not_mulaw;
            sample_rate = read_le32(chunk + 12);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (sample_rate == 0 || sample_rate > 0x7FFFFFFF) return MulawWavProblem::no_usable_format;
            out.sample_rate = sample_rate;
            out.bytes = chunk + 8;
            out.count = available;
            return MulawWavProblem::none;
        }
        // A chunk that runs past the image hides whatever would follow it.
        if (length > size - body) break;
        at = body + length + (length & 1);
    }
    return MulawWavProblem::no_data;
}

}  // namespace vokari
