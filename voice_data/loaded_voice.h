// What one loaded life of the module holds for speaking: the module
// directory, the settings, the phoneme bank and the sound effects.  `load`
// fills one; everything that speaks reads it.  A new object holds the
// module's state before any load: every setting 0, every slot silent.
#pragma once

#include <vector>

#include "base/module_paths.h"
#include "voice_data/phoneme_bank.h"
#include "voice_data/settings.h"
#include "voice_data/sound_effects.h"

namespace vokari {

struct LoadedVoice {
    char module_dir[kModuleDirCapacity] = {};  // without a trailing backslash
    Settings settings{};
    PhonemeBank bank;
    std::vector<SoundEffect> sound_effects;

    // Formats "<module_dir>\<relative>" into `out` (kPathCapacity bytes);
    // false, with `out` empty, when it does not fit.
    bool module_path(char* out, const char* relative) const { return format_module_path(module_dir, out, relative); }
};

}  // namespace vokari
