// The host's view of a reply: when each character shows, and the paced output.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "tools/vokari-say/display_timeline.h"
#include "tools/vokari-say/paced_display.h"

using namespace vokari::say;

namespace {

// "text@time" for every shown character, "|0@time"/"|1@time" for speaker
// switches and "/@time" for line breaks.
std::string describe(const DisplayTimeline& timeline) {
    std::string out;
    for (const DisplayEvent& e : timeline.events) {
        if (!out.empty()) out += ' ';
        if (e.kind == DisplayKind::Character) out += e.character;
        if (e.kind == DisplayKind::SpeakerSwitch) out += "|" + std::to_string(e.speaker);
        if (e.kind == DisplayKind::LineBreak) out += "/";
        out += "@" + std::to_string(e.time_ms);
    }
    return out;
}

TEST(DisplayTimeline, HostDelayIsWhatTheModuleSubtractsFromEachWait) {
    EXPECT_EQ(host_character_delay_ms(50), 111);  // 50 * 4 / 3 = 66, + 45
    EXPECT_EQ(host_character_delay_ms(30), 85);
}

TEST(DisplayTimeline, EveryCharacterCostsTheDelayAndWaitTagsAddTheirTime) {
    const DisplayTimeline t = build_display_timeline("あ\\_w[35]い\\w3う\\w", 100);
    EXPECT_EQ(describe(t), "あ@0 い@135 う@385");
    EXPECT_EQ(t.end_ms, 485);
}

TEST(DisplayTimeline, SpeakerSwitchesLineBreaksAndEscapedBackslash) {
    const DisplayTimeline t = build_display_timeline("\\0ｱ\\n\\1\\\\x", 10);
    EXPECT_EQ(describe(t), "|0@0 ｱ@0 /@10 |1@10 \\@10 x@20");
    EXPECT_EQ(t.events.back().speaker, 1);
}

TEST(DisplayTimeline, OtherTagsShowNothingAndUnknownBackslashShows) {
    // Bracketed tags with nested brackets, "\s" with a digit, plain tags; "\_a"
    // without a bracket is no tag, so its backslash and letters show.
    const DisplayTimeline t = build_display_timeline("\\![a[b]c]\\s[5]\\s1\\e\\_q\\_a", 10);
    EXPECT_EQ(describe(t), "\\@0 _@10 a@20");
}

TEST(DisplayTimeline, UnclosedBracketLeavesItsArgumentAsText) {
    EXPECT_EQ(describe(build_display_timeline("\\_w[12", 10)), "1@0 2@10");
}

TEST(DisplayTimeline, NegativeWaitsDoNotTurnTimeBack) {
    EXPECT_EQ(describe(build_display_timeline("a\\_w[-500]b", 10)), "a@0 b@10");
}

TEST(PacedDisplay, LabelsSpeakersAndSleepsUntilEachCharacter) {
    const DisplayTimeline t = build_display_timeline("\\0あ\\w1い\\1う\\nえ", 20);
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    std::vector<int> sleeps;
    show_paced(t, out, [&](int ms) { sleeps.push_back(ms); });
    std::fclose(out);
    EXPECT_EQ(std::string(text, size), "[main] あい\n[partner] う\n          え\n");
    std::free(text);
    // あ at 0, い at 70, う at 90, え at 110.
    EXPECT_EQ(sleeps, (std::vector<int>{70, 20, 20}));
}

TEST(PacedDisplay, TextWithoutSpeakerTagIsTheMainCharacters) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    show_paced(build_display_timeline("hi", 0), out, [](int) {});
    std::fclose(out);
    EXPECT_EQ(std::string(text, size), "[main] hi\n");
    std::free(text);
}

}  // namespace
