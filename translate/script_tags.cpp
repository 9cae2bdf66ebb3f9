// The host's script tags as the scanner meets them: speaker switches, pauses,
// an escaped backslash, and tags that are skipped without a sound.
#include "translate/script_tags.h"

#include <string>

#include "base/text_routines.h"
#include "translate/scan_state.h"
#include "translate/time_math.h"
#include "translate/timeline.h"

namespace vokari {

namespace {

using Kind = ScriptTagKind;

constexpr ScriptTag kBracketTags[] = {
    {"_a[", Kind::Skipped, 0}, {"b[", Kind::Skipped, 0},  {"_b[", Kind::Skipped, 0},      {"i[", Kind::Skipped, 0},
    {"j[", Kind::Skipped, 0},  {"_l[", Kind::Skipped, 0}, {"m[", Kind::Skipped, 0},       {"n[", Kind::Skipped, 0},
    {"s[", Kind::Skipped, 0},  {"_v[", Kind::Skipped, 0}, {"_w[", Kind::ArgumentWait, 1}, {"![", Kind::Skipped, 0},
    {"q[", Kind::Skipped, 0}};
constexpr ScriptTag kPlainTags[] = {
    {"\\", Kind::EscapedBackslash, 0}, {"0", Kind::MainSpeaker, 0}, {"1", Kind::PartnerSpeaker, 0},
    {"c", Kind::Skipped, 0},           {"e", Kind::Skipped, 0},     {"n", Kind::Skipped, 0},
    {"_n", Kind::Skipped, 0},          {"_q", Kind::Skipped, 0},    {"_s", Kind::Skipped, 0},
    {"_V", Kind::Skipped, 0},          {"w", Kind::DigitWait, 50},  {"x", Kind::Skipped, 0},
    {"*", Kind::Skipped, 0},           {"-", Kind::Skipped, 0},     {"s", Kind::DigitSpeed, 0}};

constexpr int kBracketCount = sizeof kBracketTags / sizeof *kBracketTags;
constexpr int kPlainCount = sizeof kPlainTags / sizeof *kPlainTags;

// The names of a tag table and their lengths, as a StringTable reads them.
template <std::size_t N>
struct TagNames {
    const char* names[N] = {};
    std::int32_t lengths[N] = {};
    constexpr explicit TagNames(const ScriptTag (&tags)[N]) {
        for (std::size_t i = 0; i < N; ++i) {
            names[i] = tags[i].name;
            lengths[i] = measured_length(tags[i].name);
        }
    }
};

constexpr TagNames<kBracketCount> kBracketNames{kBracketTags};
constexpr TagNames<kPlainCount> kPlainNames{kPlainTags};

// Switches to `speaker`; the other one falls silent unless the voices overlap.
void switch_speaker(ScanState& state, int speaker) {
    if (!state.overlap) emit_silence(state.timeline, state.time_ms, 1 - speaker);
    state.speaker = speaker;
}

void handle_bracket_tag(ScanState& state, const ScriptTagMatch& match) {
    std::string argument;
    const std::int32_t span = take_bracket_argument(state, match.name_length, argument);
    if (span < 0) return;
    if (match.tag->wait_ms_per_unit != 0)
        state.time_ms = add_time(state.time_ms, bracket_tag_wait_ms(*match.tag, argument));
    state.pos += span;
}

void handle_plain_tag(ScanState& state, const ScriptTagMatch& match) {
    const PlainTagUse use = use_plain_tag(match, state.text, state.pos, state.length);
    switch (match.tag->kind) {
    case Kind::EscapedBackslash: spend_silent_characters(state, 1); break;
    case Kind::MainSpeaker: switch_speaker(state, 0); break;
    case Kind::PartnerSpeaker: switch_speaker(state, 1); break;
    default: break;
    }
    if (use.pauses) state.time_ms = add_time(state.time_ms, use.wait_ms);
    state.pos += use.span;
}

}  // namespace

constexpr StringTable script_bracket_tags{kBracketNames.names, kBracketNames.lengths, kBracketCount};
constexpr StringTable script_plain_tags{kPlainNames.names, kPlainNames.lengths, kPlainCount};

ScriptTagMatch match_script_tag(const char* text, std::int32_t pos, std::int32_t length) {
    const TagMatch match = match_tag(script_bracket_tags, script_plain_tags, text, pos, length);
    ScriptTagMatch found;
    if (!match.found()) return found;
    found.tag = match.bracketed ? &kBracketTags[match.tag] : &kPlainTags[match.tag];
    found.bracketed = match.bracketed;
    found.name_length = match.name_length;
    return found;
}

PlainTagUse use_plain_tag(const ScriptTagMatch& match, const char* text, std::int32_t pos, std::int32_t length) {
    PlainTagUse use;
    use.span = match.name_length + 1;
    const ScriptTagKind kind = match.tag->kind;
    if (kind != Kind::DigitWait && kind != Kind::DigitSpeed) return use;
    const std::int32_t at = pos + 1 + match.name_length;
    if (at >= length || text[at] < '0' || text[at] > '9') return use;
    use.span += 1;
    use.pauses = match.tag->wait_ms_per_unit != 0;
    use.wait_ms = static_cast<std::int64_t>(text[at] - '0') * match.tag->wait_ms_per_unit;
    return use;
}

std::int64_t bracket_tag_wait_ms(const ScriptTag& tag, const std::string& argument) {
    return static_cast<std::int64_t>(string_to_int(argument.c_str())) * tag.wait_ms_per_unit;
}

// A backslash that starts no known tag is one character of silence by itself;
// the bytes after it are scanned as text.
void handle_script_tag(ScanState& state) {
    const ScriptTagMatch match = match_script_tag(state.text, state.pos, state.length);
    if (!match.found()) {
        spend_silent_characters(state, 1);
        state.pos += 1;
    } else if (match.bracketed) {
        handle_bracket_tag(state, match);
    } else {
        handle_plain_tag(state, match);
    }
}

}  // namespace vokari
