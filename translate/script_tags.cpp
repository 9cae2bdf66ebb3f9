// The host's script tags as the scanner meets them: speaker switches, pauses,
// an escaped backslash, and tags that are skipped without a sound.
#include "translate/script_tags.h"

#include <string>

#include "host/base/text_routines.h"
#include "translate/scan_state.h"
#include "translate/time_math.h"
#include "translate/timeline.h"

namespace vokari {

namespace {

constexpr const char* kBracketNames[] = {"_a[", "b[", "_b[", "i[", "j[", "_l[", "m[",
                                     "n[",  "s[", "_v[", "_w[", "![", "q["};
constexpr const char* kPlainNames[] = {"\\", "0", "1", "c", "e", "n", "_n", "_q", "_s", "_V", "w", "x", "*", "-", "s"};

constexpr MeasuredLengths<sizeof kBracketNames / sizeof *kBracketNames> kBracketLengths{kBracketNames};
constexpr MeasuredLengths<sizeof kPlainNames / sizeof *kPlainNames> kPlainLengths{kPlainNames};

// Switches to `speaker`; the other one falls silent unless the voices overlap.
void switch_speaker(ScanState& state, int speaker) {
    if (!state.overlap) emit_silence(state.timeline, state.time_ms, 1 - speaker);
    state.speaker = speaker;
    state.pos += 2;
}

// `name_length`: bytes of the tag name, whose last byte is the '['.
void handle_bracket_tag(ScanState& state, int tag, std::int32_t name_length) {
    std::string argument;
    const std::int32_t span = take_bracket_argument(state, name_length, argument);
    if (span < 0) return;
    if (tag == kScriptWaitArgumentTag) state.time_ms = add_time(state.time_ms, string_to_int(argument.c_str()));
    state.pos += span;
}

void handle_plain_tag(ScanState& state, int tag, std::int32_t name_length) {
    const int digit = digit_at(state.text, state.pos + 2, state.length);
    switch (tag) {
    case kEscapedBackslash:
        spend_silent_characters(state, 1);
        state.pos += 2;
        break;
    case kMainSpeakerTag:
        switch_speaker(state, 0);
        break;
    case kPartnerSpeakerTag:
        switch_speaker(state, 1);
        break;
    case kDigitWaitTag:
        if (digit >= 0) state.time_ms = add_time(state.time_ms, digit * 50);
        state.pos += digit >= 0 ? 3 : 2;
        break;
    case kDigitSpeedTag:
        state.pos += digit >= 0 ? 3 : 2;
        break;
    default:
        state.pos += name_length + 1;
        break;
    }
}

}  // namespace

constexpr StringTable script_bracket_tags{kBracketNames, kBracketLengths.values, sizeof kBracketNames / sizeof *kBracketNames};
constexpr StringTable script_plain_tags{kPlainNames, kPlainLengths.values, sizeof kPlainNames / sizeof *kPlainNames};

// A backslash that starts no known tag is one character of silence by itself;
// the bytes after it are scanned as text.
void handle_script_tag(ScanState& state) {
    const TagMatch match = match_tag(script_bracket_tags, script_plain_tags, state.text, state.pos, state.length);
    if (!match.found()) {
        spend_silent_characters(state, 1);
        state.pos += 1;
    } else if (match.bracketed) {
        handle_bracket_tag(state, match.tag, match.name_length);
    } else {
        handle_plain_tag(state, match.tag, match.name_length);
    }
}

}  // namespace vokari
