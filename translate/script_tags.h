// The host's backslash tags: the one table of the names that may follow a
// backslash, what each does and the pause it asks for.  The scanner acts on
// the tags; the wait insertion keeps them in the reply and counts their
// pauses, both through this table.
#pragma once

#include <cstdint>
#include <string>

#include "base/string_table.h"

namespace vokari {

enum class ScriptTagKind : std::uint8_t {
    Skipped,           // no sound; the tag stays in the reply
    EscapedBackslash,  // "\\": one character of silence, shown as one
    MainSpeaker,       // "0"
    PartnerSpeaker,    // "1"
    DigitWait,         // "w" and a digit
    DigitSpeed,        // "s" and a digit: skipped
    ArgumentWait,      // "_w[": pauses for its argument
};

struct ScriptTag {
    const char* name;  // after the backslash; a bracketed one ends in '['
    ScriptTagKind kind;
    int wait_ms_per_unit;  // the pause per unit of its digit or argument
};

// The names of the tags with a bracketed argument (tried first) and of those
// without, in table order; for matching and for the guide's check.
extern const StringTable script_bracket_tags;
extern const StringTable script_plain_tags;

// The tag named after the backslash at text[pos], or none.
struct ScriptTagMatch {
    const ScriptTag* tag = nullptr;
    bool bracketed = false;
    std::int32_t name_length = 0;  // bytes of the name

    bool found() const { return tag != nullptr; }
};
ScriptTagMatch match_script_tag(const char* text, std::int32_t pos, std::int32_t length);

// A plain tag at the backslash text[pos]: the bytes it spans from the
// backslash (a digit tag takes the digit 0..9 after it, if there is one) and
// the pause it asks for.
struct PlainTagUse {
    std::int32_t span = 0;
    bool pauses = false;  // a wait tag with its digit
    std::int64_t wait_ms = 0;
};
PlainTagUse use_plain_tag(const ScriptTagMatch& match, const char* text, std::int32_t pos, std::int32_t length);

// A backslash at `pos` of the scan: the tag's action on the timeline.
struct ScanState;
void handle_script_tag(ScanState& state);

// The pause that a bracketed tag asks for with `argument`; only tags with a
// wait_ms_per_unit pause.
std::int64_t bracket_tag_wait_ms(const ScriptTag& tag, const std::string& argument);

}  // namespace vokari
