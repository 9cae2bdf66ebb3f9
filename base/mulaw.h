// 8-bit mu-law, the one sample format of the module: the decode table
// (byte -> linear value on the 14-bit scale, full scale 8158) and the encoding
// of a mixed sample.  Both tables are built by the compiler.
#pragma once

#include <array>
#include <cstdint>

namespace vokari {

namespace mulaw_detail {

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

}  // namespace mulaw_detail

// Magnitudes 0..8158 have an entry in the encode table; larger ones saturate.
constexpr int kEncodeTableSize = 8159;

// mulaw_decode_table[b]: the linear value of mu-law byte b.
inline constexpr std::array<std::int32_t, 256> mulaw_decode_table = mulaw_detail::make_decode_table();

namespace mulaw_detail {

// Entry i (a magnitude 0..8158) is the code offset (127 down to 1) of the
// largest positive decode magnitude strictly below i, found by walking the
// positive codes from 0xFE towards 0x80.
constexpr std::array<std::uint8_t, kEncodeTableSize> make_encode_table() {
    std::array<std::uint8_t, kEncodeTableSize> table{};
    int index = 254;
    for (int i = 0; i < kEncodeTableSize; ++i) {
        if (i > mulaw_decode_table[static_cast<std::size_t>(index)]) --index;
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(index - 127);
    }
    return table;
}

}  // namespace mulaw_detail

inline constexpr std::array<std::uint8_t, kEncodeTableSize> mulaw_encode_table = mulaw_detail::make_encode_table();

// Encodes one mixed sample (an integer sum of decoded values) into its mu-law
// byte: the code of the largest table magnitude strictly below |sum|, with the
// sign of the sum; |sum| of 8159 or more saturates at full scale.
constexpr std::uint8_t encode_sample(std::int32_t sum) {
    const std::int64_t magnitude = sum < 0 ? -static_cast<std::int64_t>(sum) : sum;
    const std::uint8_t code =
        magnitude < kEncodeTableSize ? mulaw_encode_table[static_cast<std::size_t>(magnitude)] : 0;
    return sum < 0 ? code : static_cast<std::uint8_t>(code + 128);
}

}  // namespace vokari
