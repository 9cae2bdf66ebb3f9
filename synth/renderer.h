// The renderer: plays the Timeline through the phoneme samples and the sound
// effects and writes the mixed mu-law bytes.
#pragma once

#include <cstdint>

#include "translate/timeline.h"
#include "voice_data/loaded_voice.h"

namespace vokari {

// Renders `samples` output samples (22050 Hz, one mu-law byte each) of
// `timeline` into out[0..samples-1]; output sample o is the event time o of
// the timeline (lead-in included).  Reads the phoneme bank, the settings'
// speaker frequencies and the sound-effect list of `voice`; changes nothing.
void render_timeline(const LoadedVoice& voice, const Timeline& timeline, std::uint8_t* out, std::int32_t samples);

}  // namespace vokari
