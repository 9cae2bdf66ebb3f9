// Hostile scripts through the whole request path against the fixture voice:
// broken Shift_JIS, brackets that never close or nest a million deep, speeds
// and pauses at the ends of the integer range, totals without samples or far
// past the size limit, sound-effect numbers that name no effect, and a 16 MB
// request.  Every one gets a well-formed response that keeps the script's
// bytes, and a sound only when its duration has samples.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "synth/renderer.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "synth/sound_file.h"
#include "base/mulaw.h"
#include "test_hostile_module.h"
#include "translate/timeline.h"
#include "voice_data/settings.h"
#include "voice_data/config_text.h"
#include "voice_data/sound_effects.h"

namespace {

using hostile::HostileModule;
using hostile::split_waits;

const std::string kA = "\x82\xa0";  // a
const std::string kI = "\x82\xa2";  // i
const std::string kU = "\x82\xa4";  // u
const std::int32_t kCap = 1048576;  // the largest image, in samples

class HostileScripts : public HostileModule {
protected:
    void SetUp() override {
        HostileModule::SetUp();
        load_voice();
        player_.clear();
    }

    // The wait after every displayed character for a speech of `total_ms`
    // over `characters` characters, with no waits of the script's own.
    std::string wait_for(std::int64_t total_ms, std::int64_t characters) {
        const std::int64_t wait = total_ms / characters - (settings.message_speed + 45);
        return wait > 0 ? "\\_w[" + std::to_string(wait) + "]" : std::string();
    }

    // Samples of the one image played since the last clear().
    std::size_t played_samples() const {
        const std::vector<std::uint8_t> played = played_image();
        return played.empty() ? 0 : played.size() - 58;
    }
};

TEST_F(HostileScripts, InvalidShiftJisComesBackWhole) {
    struct Case {
        std::string script;
        std::size_t characters;
    };
    const Case cases[] = {
        {"\x82\x20\x82\x7f", 2},          // lead bytes with trail bytes outside the trail range
        {"\xff\xfe\xfd\x80\xa0\x80", 3},  // bytes that start no character, taken two at a time
        {"\x82\\0\x83\\1", 4},            // a trail 0x5C is no tag: the digits are characters
        {"\x7e\x9f\x41\xe0", 3},          // a lead byte pairing with a letter, then one as the last byte
        {"\xb1\xde\xdf\xa1", 4},          // half-width katakana with stray voicing marks
    };
    for (const Case& c : cases) {
        const hostile::SplitReply reply = split_waits(speak(c.script));
        EXPECT_EQ(reply.text, c.script);
        EXPECT_EQ(reply.waits, c.characters) << "script of " << c.script.size() << " bytes";
    }
    EXPECT_EQ(played().size(), std::size(cases));
}

TEST_F(HostileScripts, LeadByteAtTheVeryEndIsOneCharacterWithItsWait) {
    // a (130 ms), then the lone lead byte (130 ms of silence), then one more
    // character's worth: 390 ms over 2 characters.
    const std::string wait = wait_for(390, 2);
    EXPECT_EQ(speak(kA + "\x82"), kA + wait + "\x82" + wait);
    EXPECT_EQ(played_samples(), 390u * 22050 / 1000 + 1000);
    // In a SAORI request as well, where the byte before CR LF ends the value.
    EXPECT_EQ(respond("EXECUTE SAORI/1.0\r\nArgument0: " + kA + "\x82\r\n\r\n"),
              "SAORI/1.0 200 OK\r\nResult: " + kA + wait + "\x82" + wait + hostile::kSuffix);
}

TEST_F(HostileScripts, UnbalancedBracketsAreDisplayedText) {
    const std::string scripts[] = {"]]]" + kA + "[[[", "\\_a[[[" + kA, "\\![a[b]c" + kA + "]]", "\\q[" + kA + "[]"};
    for (const std::string& script : scripts) EXPECT_EQ(split_waits(speak(script)).text, script);
}

TEST_F(HostileScripts, AMillionOpenBracketsNeverClose) {
    const std::string brackets(1000000, '[');
    // The unclosed tag costs 3 characters of speech but is not displayed; each
    // '[' and the kana are: 1,000,001 displayed characters.
    const std::string script = "\\![" + brackets + kA;
    const hostile::SplitReply reply = split_waits(speak(script));
    EXPECT_EQ(reply.text, script);
    EXPECT_EQ(reply.waits, 1000001u);
    EXPECT_EQ(played_samples(), static_cast<std::size_t>(kCap));

    // An unclosed voice-control tag leaves the reply; its brackets stay.
    player_.clear();
    const hostile::SplitReply voice = split_waits(speak("@s[" + brackets + kA));
    EXPECT_EQ(voice.text, brackets + kA);
    EXPECT_EQ(voice.waits, 1000001u);
}

TEST_F(HostileScripts, BracketsNestedAMillionDeepAreOneArgument) {
    const std::string argument = std::string(999999, '[') + std::string(999999, ']');
    const std::string wait = wait_for(260, 1);
    EXPECT_EQ(speak("\\![" + argument + "]" + kA), "\\![" + argument + "]" + kA + wait);
    // The voice-control tag goes with its whole argument, which reads as 0.
    EXPECT_EQ(speak("@<[" + argument + "]" + kA), kA + wait);
    ASSERT_EQ(request_.timeline.control_events[0].size(), 1u);
    EXPECT_EQ(request_.timeline.control_events[0][0].value, 1.0);
}

TEST_F(HostileScripts, SpeedZeroOrNegativeWithoutSamplesLeavesThePreviousSoundAlone) {
    speak(kA);
    const std::uint8_t* previous = image.bytes;
    ASSERT_NE(previous, nullptr);
    player_.clear();
    // Speed 0: the speech lasts 0 ms, like a cut voice.  Speed -100: -400 ms,
    // no samples at all.  Neither stops, replaces or plays a sound.
    for (const std::string& speed : {std::string("0"), std::string("-100")}) {
        EXPECT_EQ(speak("@s[" + speed + "]" + kA + kI + kU), kA + kI + kU);
        EXPECT_TRUE(player_.calls().empty()) << speed;
        EXPECT_EQ(image.bytes, previous);
    }
    // Speed -10: -20 ms still leaves 559 samples of the lead-in to render.
    EXPECT_EQ(speak("@s[-10]" + kA), kA);
    EXPECT_EQ(played_samples(), 559u);
}

TEST_F(HostileScripts, SpeedOfTwoBillionIsLimitedToTheLargestImage) {
    // 8e9 ms over three characters: more per character than a wait tag can
    // say, so each wait is held at the int range.
    const std::string wait = "\\_w[2147483647]";
    EXPECT_EQ(speak("@s[2000000000]" + kA + kI + kU), kA + wait + kI + wait + kU + wait);
    EXPECT_EQ(played_samples(), static_cast<std::size_t>(kCap));
    EXPECT_EQ(times_logged(hostile::kSizeLimitedWarning), 1u);
}

TEST_F(HostileScripts, PausesDrivingTheTimeNegativeRenderNothing) {
    // 130 - 1,000,000 + 130 + 130 ms: no samples.  The script's own wait is
    // taken out before the time is spread over the two characters.
    const std::string wait = wait_for(-999610 + 1000000, 2);
    EXPECT_EQ(speak(kA + "\\_w[-1000000]" + kI), kA + wait + "\\_w[-1000000]" + kI + wait);
    EXPECT_TRUE(player_.calls().empty());
    // Far below the 32-bit range: the script's bytes still all come back.
    const std::string deep = "\\_w[-2000000000]\\_w[-2000000000]\\_w[-2000000000]" + kA;
    EXPECT_EQ(speak(deep).compare(0, deep.size(), deep), 0);
    EXPECT_TRUE(player_.calls().empty());
}

TEST_F(HostileScripts, PausesPastTwoToThe31MillisecondsAreLimitedAndSilent) {
    const std::string script = "\\_w[2000000000]\\_w[2000000000]" + kA;
    // The script's own pauses are taken out first: the kana keeps its time.
    EXPECT_EQ(speak(script), script + wait_for(260, 1));
    const auto images = played();
    ASSERT_EQ(images.size(), 1u);
    ASSERT_EQ(images[0].size(), 58u + kCap);
    // The kana lies 4e9 ms in: no event fires inside the image.
    for (std::size_t i = 58; i < images[0].size(); ++i) ASSERT_EQ(images[0][i], 0xFF) << i;
    EXPECT_EQ(times_logged(hostile::kSizeLimitedWarning), 1u);
}

TEST_F(HostileScripts, UnknownEffectNameStartsNothing) {
    speak(kA);
    speak("@a[nosuch]" + kA);
    speak("@a[]" + kA);
    const auto images = played();
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[1], images[0]);
    EXPECT_EQ(images[2], images[0]);
}

// Effect numbers reach the renderer only as -1 or a listed number from the
// scanner; any other number in a PlaySoundEffect event names no effect.
TEST_F(HostileScripts, EffectNumbersOutOfRangeStartNothing) {
    ASSERT_EQ(sound_effects.size(), 3u);
    const std::int32_t samples = 6000;
    auto render_with = [&](const std::vector<double>& numbers) {
        timeline.clear();
        timeline.phoneme_events[0].push_back({1000, 0, 1, 1});
        for (double number : numbers) timeline.control_events[0].push_back({1200, vokari::PlaySoundEffect, number});
        std::vector<std::uint8_t> out(samples);
        render_timeline(out.data(), samples);
        return out;
    };
    const std::vector<std::uint8_t> plain = render_with({});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(render_with({-1, -2, -1.5, 3, 3.5, 1e300, -1e300, nan, inf, -inf, 2147483648.0}), plain);
    // The control: a number inside the list (truncated toward zero) does play.
    EXPECT_NE(render_with({2.9}), plain);
    EXPECT_EQ(render_with({2.9}), render_with({2}));
}

TEST_F(HostileScripts, SixteenMegabyteRequest) {
    // "Hello, konnichiwa. " (16 characters, 18 bytes) over and over.
    const std::string phrase = "Hello, \x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd. ";
    std::string script;
    while (script.size() + phrase.size() <= 16 * 1024 * 1024) script += phrase;
    script.pop_back();  // no blank at the end, which the header would lose
    const std::size_t characters = script.size() / phrase.size() * 14 + 13;
    const hostile::SplitReply reply = split_waits(speak(script));
    EXPECT_EQ(reply.text.size(), script.size());
    EXPECT_TRUE(reply.text == script);
    EXPECT_EQ(reply.waits, characters);
    EXPECT_EQ(played_samples(), static_cast<std::size_t>(kCap));
    EXPECT_EQ(times_logged(hostile::kSizeLimitedWarning), 1u);
    // The log holds the request as it came, whole.
    EXPECT_NE(log_text().find(script), std::string::npos);
}

}  // namespace
