// Reading a reply script as the host shows it.
#include "tools/vokari-say/display_timeline.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vokari {
namespace say {
namespace {

// The host's tags that take a bracketed argument, tried before the plain ones.
const char* const kBracketedTags[] = {"_a[", "b[", "_b[", "i[",  "j[", "_l[", "m[",
                                      "n[",  "s[", "_v[", "_w[", "![", "q["};
// The host's tags without an argument.
const char* const kPlainTags[] = {"\\", "0", "1", "c", "e", "n", "_n", "_q", "_s", "_V", "w", "x", "*", "-", "s"};

bool starts_with_at(const std::string& text, size_t pos, const char* prefix) {
    return text.compare(pos, std::strlen(prefix), prefix) == 0;
}

// Index just past the ']' that closes the '[' at `open`, counting nested
// brackets; npos when it is never closed.
size_t after_closing_bracket(const std::string& text, size_t open) {
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        if (text[i] == '[') ++depth;
        if (text[i] == ']' && --depth == 0) return i + 1;
    }
    return std::string::npos;
}

size_t utf8_length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

class Walker {
public:
    Walker(const std::string& text, int character_delay_ms) : text_(text), delay_ms_(character_delay_ms) {}

    DisplayTimeline run() {
        while (pos_ < text_.size()) {
            if (text_[pos_] == '\\' && take_tag()) continue;
            const size_t length = std::min(utf8_length(static_cast<unsigned char>(text_[pos_])), text_.size() - pos_);
            show(text_.substr(pos_, length));
            pos_ += length;
        }
        timeline_.end_ms = time_ms_;
        return timeline_;
    }

private:
    void show(const std::string& character) {
        timeline_.events.push_back({DisplayKind::Character, time_ms_, speaker_, character});
        time_ms_ += delay_ms_;
    }

    void mark(DisplayKind kind) { timeline_.events.push_back({kind, time_ms_, speaker_, ""}); }

    void wait(int ms) {
        if (ms > 0) time_ms_ += ms;
    }

    // Consumes the tag at the backslash at pos_; false when none matches, so
    // the backslash is shown as a character.
    bool take_tag() {
        const size_t name = pos_ + 1;
        for (const char* tag : kBracketedTags) {
            if (!starts_with_at(text_, name, tag)) continue;
            const size_t open = name + std::strlen(tag) - 1;
            const size_t end = after_closing_bracket(text_, open);
            if (end == std::string::npos) {  // unclosed: the argument is text
                pos_ = open + 1;
                return true;
            }
            if (std::strcmp(tag, "_w[") == 0) wait(std::atoi(text_.substr(open + 1, end - open - 2).c_str()));
            if (std::strcmp(tag, "n[") == 0) mark(DisplayKind::LineBreak);
            pos_ = end;
            return true;
        }
        for (const char* tag : kPlainTags) {
            if (!starts_with_at(text_, name, tag)) continue;
            pos_ = name + std::strlen(tag);
            const bool digit_follows = pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9';
            const std::string which = tag;
            if (which == "\\") {
                show("\\");
            } else if (which == "0" || which == "1") {
                speaker_ = which == "0" ? 0 : 1;
                mark(DisplayKind::SpeakerSwitch);
            } else if (which == "n") {
                mark(DisplayKind::LineBreak);
            } else if ((which == "w" || which == "s") && digit_follows) {
                if (which == "w") wait((text_[pos_] - '0') * 50);
                ++pos_;
            }
            return true;
        }
        return false;
    }

    const std::string& text_;
    const int delay_ms_;
    size_t pos_ = 0;
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
