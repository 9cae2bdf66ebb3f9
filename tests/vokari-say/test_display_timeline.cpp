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

TEST(DisplayTimeline, CharactersTagsAndWaitsInOrder) {
    const struct {
        const char* reply;
        int delay_ms;
        const char* shown;
    } cases[] = {
        // Every character costs the delay; wait tags add their time.
        {"あ\\_w[35]い\\w3う\\w", 100, "あ@0 い@135 う@385"},
        {"\\0ｱ\\n\\1\\\\x", 10, "|0@0 ｱ@0 /@10 |1@10 \\@10 x@20"},
        {"\\_a\\_w[12", 10, "\\@0 _@10 a@20 1@30 2@40"},  // no tag, and an unclosed one: shown as text
        {"a\\_w[-500]b", 10, "a@0 b@10"},                 // negative waits do not turn time back
    };
    for (const auto& c : cases) EXPECT_EQ(describe(build_display_timeline(c.reply, c.delay_ms)), c.shown) << c.reply;
    EXPECT_EQ(build_display_timeline("あ\\_w[35]い\\w3う\\w", 100).end_ms, 485);
    EXPECT_EQ(build_display_timeline("\\0ｱ\\n\\1\\\\x", 10).events.back().speaker, 1);  // x is the partner's
}

// Text without a speaker tag is the main character's.
TEST(PacedDisplay, LabelsSpeakersAndSleepsUntilEachCharacter) {
    const auto shown = [](const std::string& reply, int delay_ms, std::vector<int>& sleeps) {
        char* text = nullptr;
        size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        show_paced(build_display_timeline(reply, delay_ms), out, [&](int ms) { sleeps.push_back(ms); });
        std::fclose(out);
        const std::string result(text, size);
        std::free(text);
        return result;
    };
    std::vector<int> sleeps;
    EXPECT_EQ(shown("\\0あ\\w1い\\1う\\nえ", 20, sleeps), "[main] あい\n[partner] う\n          え\n");
    // あ at 0, い at 70, う at 90, え at 110.
    EXPECT_EQ(sleeps, (std::vector<int>{70, 20, 20}));
    EXPECT_EQ(shown("hi", 0, sleeps), "[main] hi\n");
}

}  // namespace
