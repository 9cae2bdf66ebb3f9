// The list of named sound effects, filled by the "se" lines of the settings
// file and referred to by position.
#include "voice_data/sound_effects.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "base/module_paths.h"
#include "base/wav_format.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/config_text.h"
#include "voice_data/loaded_voice.h"
#include "voice_data/sample_file.h"
#include "voice_data/settings.h"

namespace vokari {

// Appends the effect that a "se" value names ("name, file relative to the
// module folder").  A bad value or file adds nothing.
void add_sound_effect(LoadedVoice& voice, const char* value) {
    const auto split = split_key_value(value);
    if (!split || split->key.empty() || split->value.empty()) return;

    char path[kPathCapacity];
    if (!voice.module_path(path, split->value.c_str())) return;
    long length = file_length(path);
    if (length < 0) return;

    SoundEffect effect;
    if (!read_sample_file(path, length, kWavHeaderSize, effect.data)) return;
    effect.name = split->key;
    effect.size = static_cast<std::int32_t>(effect.data.size());
    try {
        voice.sound_effects.push_back(std::move(effect));
    } catch (const std::bad_alloc&) {
    }
}

// 0-based number of the first effect named exactly `name`, or -1.
int find_sound_effect(const std::vector<SoundEffect>& effects, const std::string& name) {
    for (std::size_t i = 0; i < effects.size(); ++i) {
        if (effects[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

// Frees every effect's samples (size 0); the names and numbers stay.
void release_sound_effects(std::vector<SoundEffect>& effects) {
    for (SoundEffect& effect : effects) {
        std::vector<std::uint8_t>().swap(effect.data);
        effect.size = 0;
    }
}

}  // namespace vokari
