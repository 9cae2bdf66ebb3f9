// The script scanner: walks the voice text byte by byte and hands each byte to
// the handler of its class, building the Timeline of both speakers.
#include <cstring>

#include "base/shift_jis.h"
#include "translate/kana_conversion.h"
#include "translate/scan_state.h"
#include "translate/scanner.h"
#include "translate/script_tags.h"
#include "translate/time_math.h"
#include "translate/timeline.h"
#include "translate/voice_tags.h"

namespace vokari {

void spend_silent_characters(ScanState& state, std::int64_t characters) {
    emit_silence(state.timeline, state.time_ms, state.speaker);
    state.time_ms = add_time(state.time_ms, characters * state.speed_ms);
}

std::int32_t take_bracket_argument(ScanState& state, std::int32_t name_length, std::string& argument) {
    const std::int32_t span = state.brackets.extract(state.pos + name_length, argument);
    if (span >= 0) return name_length + span;
    spend_silent_characters(state, name_length + 1);
    state.pos += name_length + 1;
    return -1;
}

namespace {

// Any byte 0x01..0x7F that is neither a tag nor the prefix: one character of
// silence, except '-', which lengthens the sound before it by one character.
void pass_plain_byte(ScanState& state) {
    if (byte_at(state, state.pos) == '-') {
        state.time_ms = add_time(state.time_ms, state.speed_ms);
    } else {
        spend_silent_characters(state, 1);
    }
    state.pos += 1;
}

// Both speakers' closing silences; the duration is one character after them.
std::int64_t finish(ScanState& state) {
    emit_silence(state.timeline, state.time_ms, 0);
    emit_silence(state.timeline, state.time_ms, 1);
    return add_time(state.time_ms, state.speed_ms);
}

}  // namespace

// text: the voice text (after translation), read up to its first NUL.
// The total duration is the time after the last character plus one more
// character; 0 when the tag "n" cut the voice.
ScanResult scan_script(const LoadedVoice& voice, const std::string& text, Timeline& timeline,
                       std::vector<KanaStart>* kana_starts) {
    const void* nul = std::memchr(text.data(), '\0', text.size());
    const std::size_t size = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()) : text.size();
    const std::int32_t length = saturate_to_int32(static_cast<std::int64_t>(size));

    timeline.clear();
    ScanState state(voice, timeline, text.data(), length);
    state.kana_starts = kana_starts;
    const unsigned char tag_prefix = voice.settings.tag_prefix;

    while (state.pos < state.length) {
        if (state.wa_countdown != 0 && ++state.wa_countdown == 3) state.wa_countdown = 0;
        const unsigned char b = byte_at(state, state.pos);
        if (b == '\\') {
            handle_script_tag(state);
        } else if (b == tag_prefix) {
            handle_voice_tag(state);
            if (!state.voice_on) return state.result;
            if (!state.scanning) break;
        } else if (b >= 0x80) {
            if (starts_script_pair(b)) {
                convert_fullwidth_kana(state);
            } else {
                convert_halfwidth_kana(state);
            }
        } else {
            pass_plain_byte(state);
        }
    }
    state.result.total_ms = finish(state);
    return state.result;
}

}  // namespace vokari
