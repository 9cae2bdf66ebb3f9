// Sound-file output: the rendered image saved to a file in the module
// directory, optionally loaded back into a named sound effect.
#pragma once

#include <string>

#include "synth/wav_image.h"
#include "translate/scan_result.h"
#include "voice_data/loaded_voice.h"

namespace vokari {

// Writes `image` to the file that `request` names (a path inside the module
// directory of `voice`, then optionally ",<effect name>,<delete flag>");
// loads it back into that sound effect and deletes it when asked.  True when
// a file was requested, written or not (a failure is logged).
bool write_sound_file(LoadedVoice& voice, const WavImage& image, const SoundFileRequest& request);
// Replaces the samples of the sound effect `name` of `voice` by those of the
// WAV file at `path` (header skipped); an unknown name changes nothing.
void reload_sound_effect(LoadedVoice& voice, const std::string& name, const char* path);

}  // namespace vokari
