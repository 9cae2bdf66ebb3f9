// The 58-byte header of every WAV file the module writes (and skips when it
// reads one): RIFF, an 18-byte "fmt " chunk for 8-bit mu-law mono at
// 22050 Hz, a "fact" chunk with the sample count, and the "data" chunk header.
#include <cstring>

#include "base/wav_format.h"

namespace vokari {
namespace {

// The header with 0 in the three size fields (offsets 4, 46 and 54).
constexpr std::uint8_t kHeaderTemplate[kWavHeaderSize] = {
    'R',  'I',  'F', 'F', 0,  0, 0, 0,  // RIFF, size = total - 8
    'W',  'A',  'V', 'E',               //
    'f',  'm',  't', ' ', 18, 0, 0, 0,  // format chunk of 18 bytes
    7,    0,                            // WAVE_FORMAT_MULAW
    1,    0,                            // mono
    0x22, 0x56, 0,   0,                 // 22050 samples per second
    0x22, 0x56, 0,   0,                 // 22050 bytes per second
    1,    0,                            // block alignment
    8,    0,                            // bits per sample
    0,    0,                            // no format extension
    'f',  'a',  'c', 't', 4,  0, 0, 0,  // fact chunk of 4 bytes
    0,    0,    0,   0,                 // sample count
    'd',  'a',  't', 'a', 0,  0, 0, 0,  // data chunk, its length
};

void store_le32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
}

}  // namespace

// Writes the header for `samples` mu-law bytes into image[0..57]: the RIFF
// size (samples + 50), the fact sample count and the data length.
void write_wav_header(std::uint8_t* image, std::int32_t samples) {
    std::memcpy(image, kHeaderTemplate, kWavHeaderSize);
    const std::uint32_t count = static_cast<std::uint32_t>(samples);
    store_le32(image + 4, count + 50);
    store_le32(image + 46, count);
    store_le32(image + 54, count);
}

}  // namespace vokari
