// The mu-law tables and the WAV header: anchor values and the rule that an
// encoded sum decodes to the largest table magnitude strictly below it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "host/base/mulaw.h"
#include "host/base/wav_format.h"

namespace vokari {
namespace {

class MuLaw : public ::testing::Test {};

TEST_F(MuLaw, DecodeAnchors) {
    const struct { int byte; int value; } anchors[] = {
        {0x00, -8158}, {0x01, -7902}, {0x10, -4062}, {0x6F, -34}, {0x70, -30}, {0x7E, -2},
        {0x7F, 0},     {0x80, 8158},  {0xEF, 34},    {0xFE, 2},   {0xFF, 0},   {0x90, 4062},
        {0x81, 7902},  {0x82, 7646},  {0x91, 3934},
    };
    for (const auto& a : anchors) EXPECT_EQ(mulaw_decode_table[a.byte], a.value) << a.byte;
}

TEST_F(MuLaw, EncodeTableEntries) {
    EXPECT_EQ(mulaw_encode_table[0], 127);
    EXPECT_EQ(mulaw_encode_table[1], 127);
    EXPECT_EQ(mulaw_encode_table[2], 127);
    EXPECT_EQ(mulaw_encode_table[3], 126);
    EXPECT_EQ(mulaw_encode_table[7902], 2);
    EXPECT_EQ(mulaw_encode_table[7903], 1);
    EXPECT_EQ(mulaw_encode_table[8158], 1);
}

TEST_F(MuLaw, EncodeAnchors) {
    EXPECT_EQ(encode_sample(0), 0xFF);
    EXPECT_EQ(encode_sample(-1), 0x7F);
    EXPECT_EQ(encode_sample(-2), 0x7F);
    EXPECT_EQ(encode_sample(2), 0xFF);
    EXPECT_EQ(encode_sample(3), 0xFE);
    EXPECT_EQ(encode_sample(4062), 0x91);
    EXPECT_EQ(encode_sample(-4062), 0x11);
    EXPECT_EQ(encode_sample(7902), 0x82);
    EXPECT_EQ(encode_sample(8158), 0x81);
    EXPECT_EQ(encode_sample(-8158), 0x01);
    EXPECT_EQ(encode_sample(8159), 0x80);
    EXPECT_EQ(encode_sample(-8159), 0x00);
    EXPECT_EQ(encode_sample(24474), 0x80);
    EXPECT_EQ(encode_sample(INT32_MAX), 0x80);
    EXPECT_EQ(encode_sample(INT32_MIN), 0x00);
}

// Every sum in and around the table's range encodes to the code whose decoded
// magnitude is the largest positive table magnitude strictly below |sum|.
TEST_F(MuLaw, EncodeGivesLargestMagnitudeStrictlyBelow) {
    std::set<int> magnitudes;
    for (int b = 0x80; b < 0x100; ++b) magnitudes.insert(mulaw_decode_table[b]);
    for (int s = -9000; s <= 9000; ++s) {
        const int m = std::abs(s);
        int expected = 0;
        if (m > 8158) {
            expected = 8158;
        } else {
            for (int v : magnitudes)
                if (v < m) expected = v;
        }
        const int decoded = mulaw_decode_table[encode_sample(s)];
        ASSERT_EQ(std::abs(decoded), expected) << s;
        if (decoded != 0) {
            ASSERT_EQ(decoded < 0, s < 0) << s;
        }
    }
}

TEST_F(MuLaw, HeaderForThousandSamples) {
    std::vector<std::uint8_t> image(kWavHeaderSize + 1000, 0xAA);
    write_wav_header(image.data(), 1000);
    const std::uint8_t expected[kWavHeaderSize] = {
        'R', 'I', 'F', 'F', 0x1A, 0x04, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        18, 0, 0, 0, 7, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0,
        1, 0, 8, 0, 0, 0, 'f', 'a', 'c', 't', 4, 0, 0, 0, 0xE8, 0x03,
        0, 0, 'd', 'a', 't', 'a', 0xE8, 0x03, 0, 0,
    };
    for (int i = 0; i < kWavHeaderSize; ++i) EXPECT_EQ(image[i], expected[i]) << "offset " << i;
    EXPECT_EQ(image[kWavHeaderSize], 0xAA);  // the samples are not touched
}

}  // namespace
}  // namespace vokari
