#include "platform/posix/player_wav_decoding.h"

#include <cstring>

#include "base/mulaw.h"

namespace vokari {
namespace platform {
namespace {

std::uint32_t read_le32(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}
std::uint16_t read_le16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

}  // namespace

bool decode_mulaw_wav(const std::uint8_t* image, std::size_t bytes, std::vector<std::int16_t>& samples,
                      double& sample_rate) {
    if (bytes < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0) return false;
    bool format_ok = false;
    std::size_t at = 12;
    while (at + 8 <= bytes) {
        const std::uint8_t* chunk = image + at;
        const std::size_t length = read_le32(chunk + 4);
        const std::size_t body = at + 8;
        const std::size_t available = bytes - body < length ? bytes - body : length;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && available >= 16) {
            format_ok = read_le16(chunk + 8) == 7 && read_le16(chunk + 10) == 1 && read_le16(chunk + 22) == 8;
            sample_rate = read_le32(chunk + 12);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format_ok || sample_rate <= 0) return false;
            samples.resize(available);
            // The module's 14-bit scale, widened to 16 bits.
            for (std::size_t i = 0; i < available; ++i)
                samples[i] = static_cast<std::int16_t>(mulaw_decode_table[chunk[8 + i]] * 4);
            return true;
        }
        if (length > bytes - body) return false;
        at = body + length + (length & 1);
    }
    return false;
}

}  // namespace platform
}  // namespace vokari
