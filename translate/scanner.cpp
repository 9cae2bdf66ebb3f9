// The script scanner: walks the voice text token by token, the characters of
// its text runs byte class by byte class, building the Timeline of both
// speakers.
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

// The particle wa's countdown runs one step per character or tag.
void count_step(ScanState& state) {
    if (state.wa_countdown != 0 && ++state.wa_countdown == 3) state.wa_countdown = 0;
}

// The characters of a text run, up to `end`.  A kana may reach past it into
// a tag prefix that it takes for its voicing mark; the next token then starts
// where the kana ended.
void scan_text(ScanState& state, std::int32_t end) {
    while (state.pos < end) {
        count_step(state);
        const unsigned char b = byte_at(state, state.pos);
        if (b < 0x80) pass_plain_byte(state);
        else if (starts_script_pair(b)) convert_fullwidth_kana(state);
        else convert_halfwidth_kana(state);
    }
}

}  // namespace

// text: the voice text (after translation), read up to its first NUL.
// The total duration is the time after the last character plus one more
// character; 0 when the tag "n" cut the voice.
ScanResult scan_script(const LoadedVoice& voice, const std::string& text, Timeline& timeline, MoraStream* morae) {
    timeline.clear();
    ScanState state(voice, timeline, text.data(), script_length(text));
    state.morae = morae;

    ScriptToken token;
    while (state.pos < state.length) {
        state.tokens.token_at(state.pos, token);
        if (token.kind == TokenKind::Text) {
            scan_text(state, token.end());
            continue;
        }
        count_step(state);
        if (token.kind == TokenKind::ScriptTag) {
            handle_script_tag(state, token);
        } else {
            handle_voice_tag(state, token);
            if (!state.voice_on) return state.result;
            if (!state.scanning) break;
        }
    }
    state.result.total_ms = finish(state);
    return state.result;
}

}  // namespace vokari
