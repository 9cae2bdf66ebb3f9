// Temporary placeholders so that the tree links while this area is being
// written.  Delete each function as its real implementation lands.
#include "synth/renderer.h"
#include "synth/wav_image.h"

namespace vokari {
std::uint8_t* wav_image = nullptr;
std::int32_t wav_image_samples = 0;
std::string wav_output_spec;
int wav_output_silent = 0;
void render_and_play(std::int32_t) {}
void release_wav_image() {}
bool write_sound_file(std::int32_t) { return false; }
void reload_sound_effect(const std::string&, const char*) {}
void render_timeline(std::uint8_t*, std::int32_t) {}
}  // namespace vokari
