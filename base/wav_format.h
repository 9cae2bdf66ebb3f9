// The WAV files of the module: a 58-byte header (RIFF, an 18-byte "fmt "
// chunk for 8-bit mu-law mono at 22050 Hz, a "fact" chunk with the sample
// count, the "data" chunk header) followed by one mu-law byte per sample.
#pragma once

#include <cstdint>

namespace vokari {

constexpr int kWavHeaderSize = 58;

// Writes the header for `samples` mu-law bytes into image[0..57].
void write_wav_header(std::uint8_t* image, std::int32_t samples);

}  // namespace vokari
