// Named sound effects declared by "se" lines of the settings file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vokari {

struct SoundEffect {
    std::string name;
    std::vector<std::uint8_t> data;  // mu-law bytes
    std::int32_t size = 0;
};

struct LoadedVoice;

// Adds the effect named by a "se" value ("name, file").
void add_sound_effect(LoadedVoice& voice, const char* value);
// 0-based number of the first effect named exactly `name`, or -1.
int find_sound_effect(const std::vector<SoundEffect>& effects, const std::string& name);
// Frees the samples of every effect (the list itself stays).
void release_sound_effects(std::vector<SoundEffect>& effects);

}  // namespace vokari
