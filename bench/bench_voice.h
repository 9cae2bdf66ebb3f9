// The voice the benchmarks speak with, and calls into the module's exports the
// way the host makes them.
//
// The voice is a private copy of the bundled voice (voices/default), or of the
// folder named by the environment variable VOKARI_BENCH_VOICE, so that loading
// it can never change the source tree; without either, the test fixture voice
// is written instead.  A voice without sound effects can be given one, made of
// its own first vowel sample, so that a script's effect tag has something to
// play.  Playback goes to the null player: no sound device is touched.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "vokari.h"
#include "host/module.h"
#include "platform/platform.h"
#include "tests/support/fixture_voice.h"

namespace bench {

// Where the voice came from, for the benchmark context line.
inline std::string& voice_origin() {
    static std::string origin;
    return origin;
}

// Name of the effect that add_sound_effect_if_none gives a voice.
constexpr const char* kAddedEffectName = "bench-effect";

// Appends an "se" line for the sample "vokariv0\\0.wav" to the settings of
// the voice in `directory` when they declare no sound effect.
inline void add_sound_effect_if_none(const std::string& directory) {
    namespace fs = std::filesystem;
    const fs::path settings = fs::path(directory) / "vokari.txt";
    const std::vector<std::uint8_t> text = fixture::read_file(settings.string());
    const std::string content(text.begin(), text.end());
    if (content.rfind("se,", 0) == 0 || content.find("\nse,") != std::string::npos) return;
    if (!fs::exists(fs::path(directory) / "vokariv0" / "0.wav")) return;
    fixture::write_text(settings.string(), content + "\nse," + kAddedEffectName + ",vokariv0\\0.wav\n");
}

// A fresh module directory holding the voice to benchmark.
inline std::string prepare_voice_directory() {
    namespace fs = std::filesystem;
    const std::string directory = fixture::temp_directory("vokari-bench");
    std::string source;
    if (const char* named = std::getenv("VOKARI_BENCH_VOICE"); named != nullptr && *named != '\0') {
        source = named;
    } else if (fs::exists(fs::path(VOKARI_SOURCE_DIR) / "voices" / "default" / "vokari.txt")) {
        source = (fs::path(VOKARI_SOURCE_DIR) / "voices" / "default").string();
    }
    if (source.empty()) {
        fixture::make_voice(directory);
        voice_origin() = "test fixture voice";
    } else {
        fs::copy(source, directory, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        voice_origin() = source;
    }
    return directory;
}

// A module object of the benchmark's own, loaded from a fresh copy of the
// voice: its settings file replaced by `settings` unless that is empty, the
// bundled voice's analyser dictionary linked in as "naist-jdic" with
// `analyser`, and the bundled voice's files `copied` copied in.  Unloaded and
// removed at the end.
struct ModuleVoice {
    explicit ModuleVoice(const std::string& settings = "", bool analyser = false,
                         const std::vector<std::string>& copied = {})
        : directory(prepare_voice_directory()) {
        namespace fs = std::filesystem;
        const fs::path bundled = fs::path(VOKARI_SOURCE_DIR) / "voices" / "default", here(directory);
        if (analyser && !fs::exists(here / "naist-jdic"))
            fs::create_directory_symlink(bundled / "naist-jdic", here / "naist-jdic");
        for (const std::string& name : copied)
            fs::copy_file(bundled / name, here / name, fs::copy_options::overwrite_existing);
        if (!settings.empty()) fixture::write_text((here / "vokari.txt").string(), settings);
        vokari::load_module(module, directory.data(), static_cast<long>(directory.size()));
    }
    ~ModuleVoice() {
        vokari::unload_module(module);
        fixture::remove_tree(directory);
    }
    ModuleVoice(const ModuleVoice&) = delete;
    ModuleVoice& operator=(const ModuleVoice&) = delete;
    std::string directory;
    vokari::Module module;
};

// A host memory block holding `bytes` (no terminator); the module frees it.
inline HGLOBAL host_block(const void* bytes, std::size_t length) {
    void* block = vokari::platform::global_alloc(length == 0 ? 1 : length);
    if (block == nullptr) {
        std::fprintf(stderr, "bench: out of memory\n");
        std::abort();
    }
    std::memcpy(block, bytes, length);
    return block;
}

// load with the module directory, as the host calls it.
inline void load_module(const std::string& directory) {
    load(host_block(directory.data(), directory.size()), static_cast<long>(directory.size()));
}

// One request as the host makes it; frees the response and returns its length.
inline long call_request(const std::string& text) {
    long length = static_cast<long>(text.size());
    HGLOBAL response = request(host_block(text.data(), text.size()), &length);
    vokari::platform::global_free(response);
    return length;
}

// Bytes of the last image the module handed to the player (0: none yet).
inline std::size_t& last_played_bytes() {
    static std::size_t bytes = 0;
    return bytes;
}

// A player that plays nothing and notes the size of what it was given.
inline const vokari::platform::Player* noting_player() {
    static const vokari::platform::Player player = {
        "bench", [](const std::uint8_t*, std::size_t bytes) { last_played_bytes() = bytes; }, [] {}};
    return &player;
}

// Samples of the image the module played for the last request that played
// one: the played bytes less the header.
inline std::int32_t last_played_samples() {
    const std::size_t bytes = last_played_bytes();
    return bytes > 58 ? static_cast<std::int32_t>(bytes - 58) : 0;
}

// The voice loaded into the module for a whole benchmark program, with a sound
// effect: prepared and loaded on first use, with a player that plays nothing
// installed first; unloaded and its private directory removed when the program ends.
class LoadedVoice {
public:
    LoadedVoice() {
        vokari::platform::set_player(noting_player());
        directory_ = prepare_voice_directory();
        add_sound_effect_if_none(directory_);
        load_module(directory_);
        vokari::load_module(module_, directory_.data(), static_cast<long>(directory_.size()));
    }
    ~LoadedVoice() {
        unload();
        fixture::remove_tree(directory_);
    }
    const std::string& directory() const { return directory_; }
    // A module object loaded from the same folder, for what the exports do
    // not show: the settings, the bank and the effects.
    vokari::Module& module() const { return module_; }
    // Unloads and loads the module behind the exports again: no image left.
    void reload() const {
        unload();
        last_played_bytes() = 0;
        load_module(directory_);
    }

private:
    std::string directory_;
    mutable vokari::Module module_;
};

inline const LoadedVoice& loaded_voice() {
    static const LoadedVoice voice;
    return voice;
}

}  // namespace bench
