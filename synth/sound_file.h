// Sound-file output: the rendered image saved to a file in the module
// directory, optionally loaded back into a named sound effect.
#pragma once

#include <cstdint>
#include <string>

namespace vokari {

// Writes the image to the file named by wav_output_spec; true when a file was
// requested.
bool write_sound_file(std::int32_t samples);
// Replaces the samples of the sound effect `name` by those of the WAV file
// at `path` (header skipped); an unknown name changes nothing.
void reload_sound_effect(const std::string& name, const char* path);

}  // namespace vokari
