// The module's voice-control tags: the names that may follow the tag prefix.
// The scanner acts on them; the wait insertion removes them from the reply.
#pragma once

#include "base/string_table.h"

namespace vokari {

// Tags with a bracketed argument, tried first, in table order.
extern const StringTable voice_bracket_tags;
enum VoiceBracketTag {
    kWavOutTag = 0,         // "wavout["
    kLevelAddTag = 1,       // "+["
    kLevelSubtractTag = 2,  // "-["
    kPitchStepTag = 3,      // "u["
    kPitchUpTag = 4,        // "<["
    kPitchDownTag = 5,      // ">["
    kGTag = 6,              // "g[" (no effect)
    kPTag = 7,              // "p[" (no effect)
    kSpeedTag = 8,          // "s["
    kSoundEffectTag = 9,    // "a["
    kPitchSetUpTag = 10,    // "0<["
    kPitchSetDownTag = 11,  // "0>["
    kLevelSetUpTag = 12,    // "0+["
    kLevelSetDownTag = 13,  // "0-["
    kWavOutSilentTag = 14,  // "wavouts["
};

// Tags without an argument, in table order.
extern const StringTable voice_plain_tags;
enum VoicePlainTag {
    kLevelUpStep = 0,        // "+"
    kLevelDownStep = 1,      // "-"
    kLevelReset = 2,         // "="
    kPitchUpStep = 3,        // "<"
    kPitchDownStep = 4,      // ">"
    kPitchReset = 5,         // "|"
    kVoiceOff = 6,           // "n"
    kSpeedReset = 7,         // "s"
    kParticleWa = 8,         // "w"
    kOverlapToggle = 9,      // "b"
    kOmitText = 10,          // "o"
    kReleaseNow = 11,        // ":"
    kPitchSetUpStep = 12,    // "0<"
    kPitchSetDownStep = 13,  // "0>"
    kLevelSetUpStep = 14,    // "0+"
    kLevelSetDownStep = 15,  // "0-"
    kEndOfVoice = 16,        // "e"
};

// The tag prefix at `pos` of the scan: the tag's action on the timeline.
struct ScanState;
void handle_voice_tag(ScanState& state);

}  // namespace vokari
