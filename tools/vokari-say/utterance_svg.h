// A picture of one utterance, to see whether the text keeps pace with the voice.
#pragma once

#include <string>

#include "tools/vokari-say/display_timeline.h"
#include "tools/vokari-say/mulaw_wav.h"

namespace vokari {
namespace say {

// An SVG document: `title` at the top, the waveform of `wav` (decoded sound)
// under it, and below that, on the same time axis in milliseconds, one mark
// per character of `timeline` at the moment the host shows it, labelled with
// the character and coloured by speaker; dashed lines mark where the text and
// where the sound end.
std::string draw_utterance_svg(const MuLawWav& wav, const DisplayTimeline& timeline, const std::string& title);

}  // namespace say
}  // namespace vokari
