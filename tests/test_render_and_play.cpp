// render_and_play and release_wav_image: the size of the image for a duration,
// the size limit and its WARNING, out of memory, and the order "stop playback,
// then free, then play" checked through a recording player.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/platform.h"
#include "support/global_alloc_failure.h"
#include "support/log_lines.h"
#include "support/synth_fixture.h"

namespace {

using recording::PlayerCall;

using log_lines::kOutOfMemoryError;
using log_lines::kSizeLimitedWarning;

std::uint32_t le32(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

TEST(OutputSampleCount, DurationToSamplesWithLeadIn) {
    EXPECT_EQ(vokari::output_sample_count(0), 1000);
    EXPECT_EQ(vokari::output_sample_count(130), 3866);
    EXPECT_EQ(vokari::output_sample_count(47509), 1048573);
    EXPECT_EQ(vokari::output_sample_count(47510), 1048595);
    EXPECT_EQ(vokari::output_sample_count(-1), 978);
    EXPECT_EQ(vokari::output_sample_count(-45), 8);
    EXPECT_EQ(vokari::output_sample_count(-46), -14);
    // No 32-bit overflow at the ends of the range.
    EXPECT_EQ(vokari::output_sample_count(INT_MAX), 47352014416LL + 1000);
    EXPECT_EQ(vokari::output_sample_count(INT_MIN), -47352014438LL + 1000);
    // Totals past the int range (a script's own pauses can reach them) count
    // as its ends instead of overflowing the product.
    EXPECT_EQ(vokari::output_sample_count(std::int64_t{1} << 61), vokari::output_sample_count(INT_MAX));
    EXPECT_EQ(vokari::output_sample_count(-(std::int64_t{1} << 61)), vokari::output_sample_count(INT_MIN));
}

class RenderAndPlay : public synth_test::SynthFixture {};

TEST_F(RenderAndPlay, ImageHoldsHeaderAndRenderedSamples) {
    render_and_play(130);
    ASSERT_NE(image.bytes, nullptr);
    ASSERT_EQ(image.samples, 3866);
    EXPECT_EQ(le32(image.bytes + 4), 3866u + 50);
    EXPECT_EQ(le32(image.bytes + 46), 3866u);
    EXPECT_EQ(le32(image.bytes + 54), 3866u);
    EXPECT_EQ(image.bytes[58 + 999], 0xFF);
    EXPECT_EQ(image.bytes[58 + 1000], 0x91);
    ASSERT_EQ(player_.kinds(), (std::vector<std::string>{"purge", "play"}));
    const PlayerCall& play = player_.calls()[1];
    EXPECT_EQ(play.image, image.bytes);
    EXPECT_EQ(play.bytes.size(), 58u + 3866);
    EXPECT_EQ(log_text(), "");
}

TEST_F(RenderAndPlay, EveryReplacementStopsTheOldSoundBeforeFreeingIt) {
    render_and_play(100);
    render_and_play(200);
    release_wav_image();
    ASSERT_EQ(player_.kinds(), (std::vector<std::string>{"purge", "play", "purge", "play", "purge"}));
    const auto& calls = player_.calls();
    EXPECT_TRUE(calls[2].played_image_intact);  // the first image, still alive
    EXPECT_EQ(calls[2].module_image, calls[1].image);
    EXPECT_EQ(calls[3].bytes.size(), 58u + vokari::output_sample_count(200));
    EXPECT_TRUE(calls[4].played_image_intact);  // unload: the second image
    EXPECT_EQ(calls[4].module_image, calls[3].image);
    EXPECT_EQ(image.bytes, nullptr);
    EXPECT_EQ(image.samples, 0);
}

TEST_F(RenderAndPlay, SizeLimit) {
    render_and_play(47509);
    EXPECT_EQ(image.samples, 1048573);
    EXPECT_EQ(log_text(), "");

    render_and_play(47510);
    EXPECT_EQ(image.samples, vokari::kMaxOutputSamples);
    EXPECT_EQ(le32(image.bytes + 54), 1048576u);
    EXPECT_EQ(log_text(), kSizeLimitedWarning);
    EXPECT_EQ(player_.calls().back().bytes.size(), 58u + 1048576);

    render_and_play(INT_MAX);  // far beyond 32 bits once multiplied
    EXPECT_EQ(image.samples, vokari::kMaxOutputSamples);
    EXPECT_EQ(log_text(), kSizeLimitedWarning + kSizeLimitedWarning);
}

TEST_F(RenderAndPlay, NegativeDurationsWithSamplesLeftAreRendered) {
    render_and_play(-45);
    EXPECT_EQ(image.samples, 8);
    EXPECT_EQ(le32(image.bytes + 4), 58u);
    EXPECT_EQ(player_.kinds(), (std::vector<std::string>{"purge", "play"}));
}

TEST_F(RenderAndPlay, NoSamplesLeftMeansNothingAtAll) {
    render_and_play(100);
    const std::uint8_t* previous = image.bytes;
    player_.clear();
    render_and_play(-46);
    render_and_play(INT_MIN);
    EXPECT_TRUE(player_.calls().empty());  // the earlier sound plays on
    EXPECT_EQ(image.bytes, previous);
    EXPECT_EQ(log_text(), "");
}

TEST_F(RenderAndPlay, OutOfMemoryStopsThePreviousSoundAndPlaysNothing) {
    render_and_play(100);
    vokari::platform::fail_global_alloc(1);
    render_and_play(100);
    EXPECT_EQ(image.bytes, nullptr);
    EXPECT_EQ(image.samples, 0);
    EXPECT_EQ(player_.kinds(), (std::vector<std::string>{"purge", "play", "purge"}));
    EXPECT_TRUE(player_.calls()[2].played_image_intact);
    EXPECT_EQ(log_text(), kOutOfMemoryError);

    render_and_play(100);  // the next request tries again
    EXPECT_NE(image.bytes, nullptr);
    EXPECT_EQ(player_.kinds().back(), "play");
}

// Silence holds back the playing only of a sound that goes to a file.
TEST_F(RenderAndPlay, OnlyASilentSoundFileIsNotPlayed) {
    scan.sound_file.path = dir_ + "\\loud.wav";
    render_and_play(100);
    ASSERT_EQ(player_.kinds(), (std::vector<std::string>{"purge", "play"}));
    EXPECT_EQ(fixture::read_file(native("loud.wav")), player_.calls()[1].bytes);

    scan.sound_file.path = dir_ + "\\quiet.wav";
    scan.sound_file.silent = 1;
    player_.clear();
    render_and_play(100);
    EXPECT_EQ(player_.kinds(), (std::vector<std::string>{"purge"}));
    EXPECT_EQ(fixture::read_file(native("quiet.wav")), fixture::read_file(native("loud.wav")));

    scan.sound_file.path.clear();
    player_.clear();
    render_and_play(100);
    EXPECT_EQ(player_.kinds(), (std::vector<std::string>{"purge", "play"}));
}

}  // namespace
