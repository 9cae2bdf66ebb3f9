// The system's player on Linux, through the PortAudio stand-in this program is
// linked with: a started stream plays the decoded image until purge stops and
// closes it, a stream that will not start is closed at once, and the sound
// libraries' chatter never reaches the host's stderr.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <vector>

#include "base/mulaw.h"
#include "base/wav_format.h"
#include "platform/platform.h"
#include "platform/posix/player_portaudio_library.h"
#include "stand_ins/portaudio_stand_in.h"

namespace {

class PortAudioPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        vokari::platform::set_player(nullptr);
        player_ = vokari::platform::current_player();
        image_.resize(vokari::kWavHeaderSize + 2205);
        vokari::write_wav_header(image_.data(), 2205);
        for (std::size_t i = vokari::kWavHeaderSize; i < image_.size(); ++i) image_[i] = static_cast<std::uint8_t>(i);
        stand_in_ = portaudio_stand_in();
        *stand_in_ = PortAudioStandIn{};
        ::testing::internal::CaptureStderr();
    }
    void TearDown() override {
        player_->purge();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }

    const vokari::platform::Player* player_ = nullptr;
    std::vector<std::uint8_t> image_;
    PortAudioStandIn* stand_in_ = nullptr;
};

TEST_F(PortAudioPlayer, PlaysTheImageUntilPurgedOrReplaced) {
    ASSERT_STREQ(player_->name, "PortAudio");
    player_->play_memory(image_.data(), image_.size());
    EXPECT_EQ(stand_in_->open_calls, 1);
    EXPECT_EQ(stand_in_->start_calls, 1);
    EXPECT_EQ(stand_in_->close_calls, 0);
    EXPECT_EQ(stand_in_->channels, 1);
    EXPECT_EQ(stand_in_->format, vokari::platform::paInt16);
    EXPECT_EQ(stand_in_->sample_rate, 22050.0);

    std::vector<std::int16_t> expected(3000, 0);  // silence after the end
    for (std::size_t i = 0; i < 2205; ++i)
        expected[i] = static_cast<std::int16_t>(vokari::mulaw_decode_table[image_[vokari::kWavHeaderSize + i]] * 4);
    std::vector<std::int16_t> heard(3000, 0x5555);
    EXPECT_EQ(portaudio_stand_in_pull(heard.data(), 2204), vokari::platform::paContinue);
    EXPECT_EQ(portaudio_stand_in_pull(heard.data() + 2204, 796), vokari::platform::paComplete);
    EXPECT_EQ(heard, expected);

    player_->play_memory(image_.data(), image_.size());
    EXPECT_EQ(stand_in_->abort_calls, 1);
    EXPECT_EQ(stand_in_->close_calls, 1);
    EXPECT_EQ(stand_in_->open_calls, 2);
    player_->purge();
    player_->purge();
    EXPECT_EQ(stand_in_->abort_calls, 2);
    EXPECT_EQ(stand_in_->close_calls, 2);
}

TEST_F(PortAudioPlayer, AStreamThatWillNotStartIsClosedAtOnce) {
    stand_in_->refuse_start = true;
    player_->play_memory(image_.data(), image_.size());
    EXPECT_EQ(stand_in_->start_calls, 1);
    EXPECT_EQ(stand_in_->close_calls, 1);
    player_->purge();
    EXPECT_EQ(stand_in_->abort_calls, 0);
    EXPECT_EQ(stand_in_->close_calls, 1);
}

// Silencing stderr borrows a descriptor to restore it with; each silence
// gives it back, or a long-running host runs out.
TEST(SilencedStderr, GivesBackTheDescriptorItBorrows) {
    const auto open_descriptors = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    const auto before = open_descriptors();
    { vokari::platform::SilencedStderr quiet; }
    EXPECT_EQ(open_descriptors(), before);
}

}  // namespace
