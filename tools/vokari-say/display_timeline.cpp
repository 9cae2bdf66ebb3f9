// Reading a reply script as the host shows it.
#include "tools/vokari-say/display_timeline.h"

#include "base/script_syntax.h"

namespace vokari {
namespace say {
namespace {

// Reads the reply with the module's own script syntax; the reply carries no
// voice-control tags, so the backslash stands for the tag prefix too.
class Walker {
public:
    Walker(const std::string& text, int character_delay_ms)
        : text_(text), tokens_(text, '\\', TextEncoding::Utf8), delay_ms_(character_delay_ms) {}

    DisplayTimeline run() {
        ScriptToken token;
        while (tokens_.next(token)) {
            if (token.kind == TokenKind::Text) show_run(token);
            else if (!token.is_known_tag()) show("\\");  // a backslash that starts no tag
            else if (!token.unclosed) take_tag(token);   // unclosed: its argument is text
        }
        timeline_.end_ms = time_ms_;
        return timeline_;
    }

private:
    void show_run(const ScriptToken& run) {
        for (std::int32_t pos = run.pos; pos < run.end();) {
            const std::int32_t size = tokens_.character_size(pos);
            show(text_.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(size)));
            pos += size;
        }
    }

    void show(const std::string& character) {
        timeline_.events.push_back({DisplayKind::Character, time_ms_, speaker_, character});
        time_ms_ += delay_ms_;
    }

    void mark(DisplayKind kind) { timeline_.events.push_back({kind, time_ms_, speaker_, ""}); }

    void take_tag(const ScriptToken& tag) {
        switch (tag.script_tag().kind) {
        case ScriptTagKind::EscapedBackslash: show("\\"); break;
        case ScriptTagKind::MainSpeaker:
        case ScriptTagKind::PartnerSpeaker:
            speaker_ = tag.script_tag().kind == ScriptTagKind::MainSpeaker ? 0 : 1;
            mark(DisplayKind::SpeakerSwitch);
            break;
        case ScriptTagKind::LineBreak: mark(DisplayKind::LineBreak); break;
        default: break;
        }
        if (tag.wait_ms > 0) time_ms_ += static_cast<int>(tag.wait_ms);
    }

    const std::string& text_;
    ScriptTokenizer tokens_;
    const int delay_ms_;
    int time_ms_ = 0;
    int speaker_ = 0;
    DisplayTimeline timeline_;
};

}  // namespace

int host_character_delay_ms(int message_speed_ms) { return message_speed_ms * 4 / 3 + 45; }

DisplayTimeline build_display_timeline(const std::string& reply_utf8, int character_delay_ms) {
    return Walker(reply_utf8, character_delay_ms).run();
}

}  // namespace say
}  // namespace vokari
