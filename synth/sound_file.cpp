// Sound-file output: "wavout[" / "wavouts[" save the rendered image to a file
// in the module directory, may load it back into a named sound effect, and
// may delete it again.
#include <cstdio>
#include <string>

#include "voice_data/request_log.h"
#include "platform/platform.h"
#include "synth/confined_path.h"
#include "synth/sound_file.h"
#include "synth/wav_image.h"
#include "voice_data/sample_file.h"
#include "voice_data/sound_effects.h"

namespace vokari {

namespace {

// True when `path` is `module_dir`, a backslash and a path that stays inside
// the module directory.
bool is_module_file(const char* module_dir, const std::string& path) {
    const std::string prefix = std::string(module_dir) + "\\";
    if (path.compare(0, prefix.size(), prefix) != 0) return false;
    return stays_inside_directory(path.substr(prefix.size()));
}

}  // namespace

bool write_sound_file(LoadedVoice& voice, const WavImage& image, const SoundFileRequest& request) {
    if (request.path.empty()) return false;
    const std::string& path = request.path;

    std::FILE* file = is_module_file(voice.module_dir, path) ? platform::open_file(path.c_str(), "wb") : nullptr;
    if (file == nullptr) {
        log_line(voice.settings, LogLine::FileOutputFailed);
        return true;
    }
    std::fwrite(image.bytes, 1, static_cast<std::size_t>(kWavHeaderSize) + image.samples, file);
    std::fclose(file);
    if (!request.effect_name.empty()) reload_sound_effect(voice, request.effect_name, path.c_str());
    if (request.delete_flag != 0) platform::delete_file(path.c_str());
    return true;
}

void reload_sound_effect(LoadedVoice& voice, const std::string& name, const char* path) {
    const int index = find_sound_effect(voice.sound_effects, name);
    if (index < 0) return;
    SoundEffect* effect = &voice.sound_effects[static_cast<std::size_t>(index)];
    effect->data.clear();
    effect->data.shrink_to_fit();
    effect->size = 0;

    // Unreadable, or shorter than its header: the effect stays silent.  Bytes
    // that cannot be read back stay silent.
    if (!read_sample_file(path, file_length(path), kWavHeaderSize, effect->data, MissingBytes::Silence)) return;
    effect->size = static_cast<std::int32_t>(effect->data.size());
}

}  // namespace vokari
