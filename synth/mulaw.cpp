// The two mu-law tables through which every sample byte of the module passes:
// the constant decode table (byte -> linear value on the 14-bit scale) and the
// encode table built at load (magnitude -> code), plus the encoding of one
// mixed sample.
#include <array>

#include "synth/wav_image.h"

namespace vokari {
namespace {

// Linear value of mu-law byte `b`: the sign bit set means positive, the other
// bits are inverted; each code stands for the top of its quantisation
// interval, ((2m + 34) << e) - 34, so full scale is 8158.
constexpr std::int32_t decode_byte(int b) {
    const bool negative = b < 0x80;
    const int x = negative ? 0x7F - b : 0xFF - b;
    const int e = x >> 4;
    const int m = x & 0x0F;
    const std::int32_t magnitude = ((2 * m + 34) << e) - 34;
    return negative ? -magnitude : magnitude;
}

constexpr std::array<std::int32_t, 256> make_decode_table() {
    std::array<std::int32_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = decode_byte(b);
    return table;
}

constexpr std::array<std::int32_t, 256> kDecode = make_decode_table();

}  // namespace

const std::int32_t mulaw_decode_table[256] = {
#define VOKARI_ROW(r)                                                                   \
    kDecode[r + 0], kDecode[r + 1], kDecode[r + 2], kDecode[r + 3], kDecode[r + 4],     \
        kDecode[r + 5], kDecode[r + 6], kDecode[r + 7], kDecode[r + 8], kDecode[r + 9], \
        kDecode[r + 10], kDecode[r + 11], kDecode[r + 12], kDecode[r + 13],             \
        kDecode[r + 14], kDecode[r + 15]
    VOKARI_ROW(0x00), VOKARI_ROW(0x10), VOKARI_ROW(0x20), VOKARI_ROW(0x30),
    VOKARI_ROW(0x40), VOKARI_ROW(0x50), VOKARI_ROW(0x60), VOKARI_ROW(0x70),
    VOKARI_ROW(0x80), VOKARI_ROW(0x90), VOKARI_ROW(0xA0), VOKARI_ROW(0xB0),
    VOKARI_ROW(0xC0), VOKARI_ROW(0xD0), VOKARI_ROW(0xE0), VOKARI_ROW(0xF0),
#undef VOKARI_ROW
};

std::uint8_t mulaw_encode_table[kEncodeTableSize];

// Fills mulaw_encode_table: entry i (a magnitude 0..8158) is the code offset
// (127 down to 1) of the largest positive decode magnitude strictly below i,
// found by walking the positive codes from 0xFE towards 0x80.
void build_mulaw_encoder() {
    int index = 254;
    for (int i = 0; i < kEncodeTableSize; ++i) {
        if (i > mulaw_decode_table[index]) --index;
        mulaw_encode_table[i] = static_cast<std::uint8_t>(index - 127);
    }
}

// Encodes one mixed sample (an integer sum of decoded values) into its mu-law
// byte: the code of the largest table magnitude strictly below |sum|, with the
// sign of the sum; |sum| of 8159 or more saturates at full scale.
std::uint8_t encode_sample(std::int32_t sum) {
    const std::int64_t magnitude = sum < 0 ? -static_cast<std::int64_t>(sum) : sum;
    const std::uint8_t code = magnitude < kEncodeTableSize ? mulaw_encode_table[magnitude] : 0;
    return sum < 0 ? code : static_cast<std::uint8_t>(code + 128);
}

}  // namespace vokari
