// The mu-law tables and the WAV header: anchor values, the rule that an
// encoded sum decodes to the largest table magnitude strictly below it, and
// reading an image back.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <tuple>
#include <vector>

#include "base/mulaw.h"
#include "base/mulaw_wav.h"
#include "base/wav_format.h"

namespace vokari {
namespace {

TEST(MuLaw, DecodeAnchors) {
    const struct {
        int byte;
        int value;
    } anchors[] = {
        {0x00, -8158}, {0x01, -7902}, {0x10, -4062}, {0x6F, -34},  {0x70, -30},
        {0x7E, -2},    {0x7F, 0},     {0x80, 8158},  {0xEF, 34},   {0xFE, 2},
        {0xFF, 0},     {0x90, 4062},  {0x81, 7902},  {0x82, 7646}, {0x91, 3934},
    };
    for (const auto& a : anchors) EXPECT_EQ(mulaw_decode_table[a.byte], a.value) << a.byte;
}

// What the magnitude rule below leaves open: which of the two zero codes a
// small sum takes (its sign), and saturation far outside the table.
TEST(MuLaw, EncodeSignOfZeroAndSaturation) {
    const struct {
        std::int32_t sum;
        int byte;
    } cases[] = {
        {0, 0xFF},     {2, 0xFF},     {-1, 0x7F},        {-2, 0x7F},        {8159, 0x80},
        {-8159, 0x00}, {24474, 0x80}, {INT32_MAX, 0x80}, {INT32_MIN, 0x00},
    };
    for (const auto& c : cases) EXPECT_EQ(encode_sample(c.sum), c.byte) << c.sum;
}

// Every sum in and around the table's range encodes to the code whose decoded
// magnitude is the largest positive table magnitude strictly below |sum|.
TEST(MuLaw, EncodeGivesLargestMagnitudeStrictlyBelow) {
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

TEST(MuLaw, HeaderForThousandSamples) {
    std::vector<std::uint8_t> image(kWavHeaderSize + 1000, 0xAA);
    write_wav_header(image.data(), 1000);
    const std::uint8_t expected[kWavHeaderSize] = {
        'R', 'I', 'F', 'F', 0x1A, 0x04, 0,    0,    'W',  'A',  'V', 'E', 'f', 'm', 't',  ' ',  18, 0, 0,   0,
        7,   0,   1,   0,   0x22, 0x56, 0,    0,    0x22, 0x56, 0,   0,   1,   0,   8,    0,    0,  0, 'f', 'a',
        'c', 't', 4,   0,   0,    0,    0xE8, 0x03, 0,    0,    'd', 'a', 't', 'a', 0xE8, 0x03, 0,  0,
    };
    for (int i = 0; i < kWavHeaderSize; ++i) EXPECT_EQ(image[i], expected[i]) << "offset " << i;
    EXPECT_EQ(image[kWavHeaderSize], 0xAA);  // the samples are not touched
}

// The module's own images are found, every chunk skipped to the data, and
// nothing else: a short or cut image, another format, data without a format.
TEST(MuLawWav, FindsTheSamplesOfTheModulesImagesOnly) {
    std::vector<std::uint8_t> image(kWavHeaderSize + 3, 0x80);
    write_wav_header(image.data(), 3);
    MulawSamples found;
    ASSERT_EQ(find_mulaw_samples(image.data(), image.size(), found), MulawWavProblem::none);
    EXPECT_EQ(found.sample_rate, 22050u);
    EXPECT_EQ(found.bytes, image.data() + kWavHeaderSize);
    EXPECT_EQ(found.count, 3u);
    ASSERT_EQ(find_mulaw_samples(image.data(), image.size() - 1, found), MulawWavProblem::none);
    EXPECT_EQ(found.count, 2u);  // the data chunk cut short by the image's end

    EXPECT_EQ(find_mulaw_samples(image.data(), 11, found), MulawWavProblem::not_wav);
    EXPECT_EQ(find_mulaw_samples(image.data(), kWavHeaderSize - 8, found), MulawWavProblem::no_data);
    // One byte changed: 8-bit PCM, format tag 0x0107, the format chunk renamed (data comes first).
    for (const auto& [at, value, problem] : {std::tuple{20, 1, MulawWavProblem::not_mulaw},
                                             {21, 1, MulawWavProblem::not_mulaw},
                                             {12, 'x', MulawWavProblem::no_usable_format}}) {
        std::vector<std::uint8_t> other = image;
        other[at] = static_cast<std::uint8_t>(value);
        EXPECT_EQ(find_mulaw_samples(other.data(), other.size(), found), problem) << at;
    }
    image[24] = image[25] = 0;  // a sample rate of 0
    EXPECT_EQ(find_mulaw_samples(image.data(), image.size(), found), MulawWavProblem::no_usable_format);
}

}  // namespace
}  // namespace vokari
