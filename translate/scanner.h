// The script scanner: reads the voice text (kana, the host's script tags, the
// module's voice-control tags) into a timeline.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "translate/mora_events.h"
#include "translate/scan_result.h"
#include "translate/timeline.h"
#include "voice_data/loaded_voice.h"

namespace vokari {

// Scans the (translated) voice text with the settings and bank of `voice`
// into `timeline` (emptied first) and returns the total duration in
// milliseconds with the scan's other results.  The total is kept in 64 bits
// (held within +-2^61), so that a script whose own pauses run past the 32-bit
// range still gets the waits that its characters need.
// With `morae`, every kana spoken that starts a mora gives its events there.
ScanResult scan_script(const LoadedVoice& voice, const std::string& text, Timeline& timeline,
                       MoraStream* morae = nullptr);

}  // namespace vokari
