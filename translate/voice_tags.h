// The module's voice-control tags as the scanner meets them (their table and
// syntax are in base/script_syntax.h).
#pragma once

#include "base/script_syntax.h"

namespace vokari {

// A VoiceTag token at `pos` of the scan: the tag's action on the timeline.
struct ScanState;
void handle_voice_tag(ScanState& state, const ScriptToken& token);

}  // namespace vokari
