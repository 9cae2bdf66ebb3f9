// The module's voice-control tags as the scanner meets them: loudness, pitch
// and speed changes, sound effects, the particle wa, overlapping speakers, the
// end or cut of the voice, hidden text and sound-file output.
#include "translate/voice_tags.h"

#include <string>

#include "base/text_routines.h"
#include "translate/pitch_factor.h"
#include "translate/scan_state.h"
#include "translate/scanner.h"
#include "translate/timeline.h"
#include "voice_data/sound_effects.h"

namespace vokari {

namespace {

constexpr double kLevelStep = 0.1;

void control(const ScanState& state, ControlKind kind, double value) {
    emit_control(state.timeline, state.time_ms, state.speaker, kind, value);
}

// Asks for the speech to be written to `name` in the module directory.
void request_sound_file(ScanState& state, const std::string& name, int silent) {
    state.result.sound_file = sound_file_request(state.voice.module_dir, name, silent);
}

void apply_bracket_tag(ScanState& state, int tag, const std::string& argument) {
    const char* text = argument.c_str();
    switch (tag) {
    case kWavOutTag: request_sound_file(state, argument, 0); break;
    case kWavOutSilentTag: request_sound_file(state, argument, 1); break;
    case kLevelAddTag: control(state, LevelAdd, string_to_double(text) * kLevelStep); break;
    case kLevelSubtractTag: control(state, LevelSubtract, string_to_double(text) * kLevelStep); break;
    case kPitchStepTag: state.result.pitch_step = string_to_double(text); break;
    case kPitchUpTag:
        control(state, PitchMultiply, pitch_factor(string_to_double(text) * state.result.pitch_step));
        break;
    case kPitchDownTag:
        control(state, PitchDivide, pitch_factor(string_to_double(text) * state.result.pitch_step));
        break;
    case kSpeedTag: state.speed_ms = string_to_int(text); break;
    case kSoundEffectTag:
        control(state, PlaySoundEffect, find_sound_effect(state.voice.sound_effects, argument));
        break;
    case kPitchSetUpTag:
        control(state, PitchSet, pitch_factor(string_to_double(text) * state.result.pitch_step));
        break;
    case kPitchSetDownTag:
        control(state, PitchSet, 1.0 / pitch_factor(string_to_double(text) * state.result.pitch_step));
        break;
    case kLevelSetUpTag: control(state, LevelSet, 1.0 + string_to_double(text) * kLevelStep); break;
    case kLevelSetDownTag: control(state, LevelSet, 1.0 - string_to_double(text) * kLevelStep); break;
    default: break;  // "g[" and "p[" are only skipped
    }
}

void apply_plain_tag(ScanState& state, int tag) {
    switch (tag) {
    case kLevelUpStep: control(state, LevelAdd, kLevelStep); break;
    case kLevelDownStep: control(state, LevelSubtract, kLevelStep); break;
    case kLevelReset: control(state, LevelSet, 1.0); break;
    case kPitchUpStep: control(state, PitchMultiply, pitch_factor(state.result.pitch_step)); break;
    case kPitchDownStep: control(state, PitchDivide, pitch_factor(state.result.pitch_step)); break;
    case kPitchReset: control(state, PitchSet, 1.0); break;
    case kVoiceOff: state.voice_on = false; break;
    case kSpeedReset: state.speed_ms = state.voice.settings.talk_default_speed; break;
    case kParticleWa: state.wa_countdown = 1; break;
    case kOverlapToggle: state.overlap = !state.overlap; break;
    case kOmitText: state.result.omit_text = true; break;
    case kReleaseNow: emit_silence(state.timeline, state.time_ms, state.speaker); break;
    case kPitchSetUpStep: control(state, PitchSet, pitch_factor(state.result.pitch_step)); break;
    case kPitchSetDownStep: control(state, PitchSet, 1.0 / pitch_factor(state.result.pitch_step)); break;
    case kLevelSetUpStep: control(state, LevelSet, 1.1); break;
    case kLevelSetDownStep: control(state, LevelSet, 0.9); break;
    case kEndOfVoice: state.scanning = false; break;
    default: break;
    }
}

}  // namespace

// A bracketed tag without its closing bracket costs its prefix and name as
// characters of silence; a prefix that starts no tag costs one character.
void handle_voice_tag(ScanState& state, const ScriptToken& token) {
    if (!token.is_known_tag() || token.unclosed) spend_silent_characters(state, token.span);
    else if (token.bracketed) apply_bracket_tag(state, token.tag, token.argument);
    else apply_plain_tag(state, token.tag);
    state.pos += token.span;
}

}  // namespace vokari
