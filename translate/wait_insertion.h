// Wait-tag insertion into the reply, after the scan has timed the speech.
#pragma once

#include <cstdint>
#include <string>

#include "voice_data/settings.h"

namespace vokari {

// Inserts "\_w[n]" wait tags into `script` (the untranslated reply) and removes
// the voice-control tags from it.  total_ms and omit_text: what scan_script
// returned; `settings` gives the tag prefix and the host's message speed.
void insert_waits(const Settings& settings, std::string& script, std::int64_t total_ms, bool omit_text);

}  // namespace vokari
