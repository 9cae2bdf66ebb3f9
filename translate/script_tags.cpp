// The host's script tags as the scanner meets them: speaker switches, pauses,
// an escaped backslash, and tags that are skipped without a sound.
#include "translate/script_tags.h"

#include "translate/scan_state.h"
#include "translate/time_math.h"
#include "translate/timeline.h"

namespace vokari {

namespace {

// Switches to `speaker`; the other one falls silent unless the voices overlap.
void switch_speaker(ScanState& state, int speaker) {
    if (!state.overlap) emit_silence(state.timeline, state.time_ms, 1 - speaker);
    state.speaker = speaker;
}

}  // namespace

// A backslash that starts no known tag is one character of silence by itself,
// and so is each byte of an unclosed tag's marker and name; the bytes after
// them are scanned as text.
void handle_script_tag(ScanState& state, const ScriptToken& token) {
    if (!token.is_known_tag() || token.unclosed) {
        spend_silent_characters(state, token.span);
    } else {
        switch (token.script_tag().kind) {
        case ScriptTagKind::EscapedBackslash: spend_silent_characters(state, 1); break;
        case ScriptTagKind::MainSpeaker: switch_speaker(state, 0); break;
        case ScriptTagKind::PartnerSpeaker: switch_speaker(state, 1); break;
        default: break;
        }
        if (token.wait_ms != 0) state.time_ms = add_time(state.time_ms, token.wait_ms);
    }
    state.pos += token.span;
}

}  // namespace vokari
