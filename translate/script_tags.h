// The host's backslash tags as the scanner meets them (their table and syntax
// are in base/script_syntax.h).
#pragma once

#include "base/script_syntax.h"

namespace vokari {

// A ScriptTag token at `pos` of the scan: the tag's action on the timeline.
struct ScanState;
void handle_script_tag(ScanState& state, const ScriptToken& token);

}  // namespace vokari
