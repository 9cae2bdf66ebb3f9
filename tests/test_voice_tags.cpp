// The module's voice-control tags: the control events they emit and how they
// change speed, overlap, the end of the voice and sound-file output; and the
// deterministic pitch factor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "vokari.h"
#include "base/module_paths.h"
#include "support/translate_test.h"
#include "translate/pitch_factor.h"
#include "voice_data/sound_effects.h"

namespace {

using namespace translate_test;
using vokari::ControlEvent;
using VoiceTagTest = TranslateTest;

constexpr double kTwelveSteps = 1.1892164697335903;  // 1.014546 ^ 12
constexpr double kOctave = 2.0000629316197887;       // 1.014546 ^ 48

TEST_F(VoiceTagTest, EachTagEmitsItsControlEvent) {
    sound_effects.assign({{"bell", {}, 0}, {"drum", {}, 0}});
    const struct {
        const char* script;
        vokari::ControlKind kind;
        double value;
    } cases[] = {
        {"@+[5]", vokari::LevelAdd, 0.5},
        {"@-[2]", vokari::LevelSubtract, 2 * 0.1},
        {"@0+[5]", vokari::LevelSet, 1.5},
        {"@0-[5]", vokari::LevelSet, 0.5},
        {"@+", vokari::LevelAdd, 0.1},
        {"@-", vokari::LevelSubtract, 0.1},
        {"@=", vokari::LevelSet, 1.0},
        {"@0+", vokari::LevelSet, 1.1},
        {"@0-", vokari::LevelSet, 0.9},
        {"@+[x]", vokari::LevelAdd, 0.0},
        {"@|", vokari::PitchSet, 1.0},
        {"@<", vokari::PitchMultiply, vokari::pitch_factor(1)},
        {"@>", vokari::PitchDivide, vokari::pitch_factor(1)},
        {"@<[12]", vokari::PitchMultiply, vokari::pitch_factor(12)},
        {"@>[12]", vokari::PitchDivide, vokari::pitch_factor(12)},
        {"@0<[12]", vokari::PitchSet, vokari::pitch_factor(12)},
        {"@0>[12]", vokari::PitchSet, 1 / vokari::pitch_factor(12)},
        {"@0>", vokari::PitchSet, 1 / vokari::pitch_factor(1)},
        {"@u[4]@<[12]", vokari::PitchMultiply, vokari::pitch_factor(48)},
        {"@u[2]@0<", vokari::PitchSet, vokari::pitch_factor(2)},
        {"@a[drum]", vokari::PlaySoundEffect, 1.0},
        {"@a[Drum]", vokari::PlaySoundEffect, -1.0},
    };
    for (const auto& c : cases) {
        scan_script(c.script);
        EXPECT_EQ(controls(0), (Controls{{1000, c.kind, c.value}})) << c.script;
    }
    EXPECT_NEAR(vokari::pitch_factor(1), 1.014546, 1e-15);
    EXPECT_NEAR(1 / vokari::pitch_factor(1), 0.98566, 1e-5);
    sound_effects.clear();
}

TEST_F(VoiceTagTest, ControlsGoToTheCurrentSpeakerAtTheCurrentTime) {
    scan_script("ab\\1@+");
    EXPECT_TRUE(controls(0).empty());
    EXPECT_EQ(controls(1), (Controls{{6733, vokari::LevelAdd, 0.1}}));
    scan_script("\\_w[-500]@+");
    EXPECT_EQ(controls(0), (Controls{{0, vokari::LevelAdd, 0.1}}));  // negative times stored as 0
}

TEST_F(VoiceTagTest, SpeedTagSetsAnyValueAndPlainSpeedRestoresTheDefault) {
    EXPECT_EQ(scan_script("@s[200]ab@sc"), 200 + 200 + 130 + 130);
    EXPECT_EQ(events(0)[2], silence(vokari::ms_to_samples(400)));
    EXPECT_EQ(scan_script("@s[0]abc"), 0);
    EXPECT_EQ(scan_script("@s[-50]ab"), -150);
}

TEST_F(VoiceTagTest, VoiceOffAndEndOfVoice) {
    EXPECT_EQ(scan_script("a@nb"), 0);  // stops at once, without closing events
    EXPECT_EQ(events(0), (Events{silence(1000)}));
    EXPECT_TRUE(events(1).empty());
    EXPECT_EQ(scan_script(std::string(sjis::a) + "@e" + sjis::i + "xyz"), 260);  // closes at the tag
    EXPECT_EQ(events(0), (Events{{1000, 0, 1, 1}, silence(3866)}));
    EXPECT_EQ(events(1), (Events{silence(3866)}));
}

TEST_F(VoiceTagTest, ReleaseTagSilencesNowWithoutTakingTime) {
    EXPECT_EQ(scan_script(std::string("@:") + sjis::a), 260);
    EXPECT_EQ(events(0), (Events{silence(1000), {1000, 0, 1, 1}, silence(3866)}));
}

TEST_F(VoiceTagTest, OmitTagLastsForOneScan) {
    scan_script("@o");
    EXPECT_TRUE(scan.omit_text);
    scan_script("a");
    EXPECT_FALSE(scan.omit_text);
}

TEST_F(VoiceTagTest, SoundFileTagsNameAFileInTheModuleDirectory) {
    std::strcpy(module_dir, "C:\\host\\ghost\\master");
    scan_script("@wavout[a.wav,greeting, 2]");
    EXPECT_EQ(scan.sound_file.path, "C:\\host\\ghost\\master\\a.wav");
    EXPECT_EQ(scan.sound_file.effect_name, "greeting");
    EXPECT_EQ(scan.sound_file.delete_flag, 2);
    EXPECT_EQ(scan.sound_file.silent, 0);
    scan_script("@wavout[a.wav]@wavouts[b.wav]");
    EXPECT_EQ(scan.sound_file.path, "C:\\host\\ghost\\master\\b.wav");
    EXPECT_EQ(scan.sound_file.effect_name, "");
    EXPECT_EQ(scan.sound_file.silent, 1);
    module_dir[0] = '\0';
    scan.sound_file = vokari::SoundFileRequest();
    EXPECT_EQ(scan_script("@wavout"), 6 * 130);  // the tag "w" and five letters
    EXPECT_TRUE(scan.sound_file.path.empty());
}

TEST_F(VoiceTagTest, UnknownOrUnclosedTagsCostSilence) {
    EXPECT_EQ(scan_script("@z"), 390);
    EXPECT_EQ(scan_script("@+[5"), 3 * 130 + 130 + 130);
    EXPECT_EQ(events(0), (Events{silence(1000), silence(9599), silence(12466)}));
    EXPECT_TRUE(controls(0).empty());
    EXPECT_EQ(scan_script("@g[1]@p[2]"), 130);
    EXPECT_TRUE(controls(0).empty());
    settings.tag_prefix = '%';
    EXPECT_EQ(scan_script("@+%+"), 390);  // '@' and '+' are plain characters now
    EXPECT_EQ(controls(0).size(), 1u);
}

TEST(PitchFactor, MeetsTheAnchorsAndTheLibraryPowerWithinAnUlp) {
    EXPECT_EQ(vokari::pitch_factor(0.0), 1.0);
    EXPECT_NEAR(vokari::pitch_factor(12.0), kTwelveSteps, 2.3e-16 * kTwelveSteps);
    EXPECT_NEAR(vokari::pitch_factor(48.0), kOctave, 2.3e-16 * kOctave);
    // Far out, where the low half of ln 1.014546 shows and the result is still normal.
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> steps(-48000.0, 48000.0);
    for (int i = 0; i < 20000; ++i) {
        const double x = i < 2000 ? (i - 1000) * 0.25 : steps(random);
        const double expected = std::pow(1.014546, x);
        ASSERT_NEAR(vokari::pitch_factor(x), expected, 2.3e-16 * expected) << x;
    }
}

TEST(PitchFactor, ExtremesOverflowUnderflowAndKeepNan) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(vokari::pitch_factor(1e9), inf);
    EXPECT_EQ(vokari::pitch_factor(-1e9), 0.0);
    EXPECT_EQ(vokari::pitch_factor(inf), inf);
    EXPECT_EQ(vokari::pitch_factor(-inf), 0.0);
    EXPECT_TRUE(std::isnan(vokari::pitch_factor(std::nan(""))));
    EXPECT_NEAR(vokari::pitch_factor(49000.0) / std::pow(1.014546, 49000.0), 1.0, 1e-12);
    EXPECT_NEAR(vokari::pitch_factor(-49000.0) / std::pow(1.014546, -49000.0), 1.0, 1e-12);
}

}  // namespace
