// The module as the fuzz harnesses drive it: the fixture voice written to a
// fresh temporary module directory, loaded through the host's load entry point
// and into a module object of the harness's own, a player that plays nothing,
// and the tidying that keeps one input from changing what the next input
// meets.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "host/module.h"
#include "support/fuzz_check.h"
#include "voice_data/sound_effects.h"

namespace fuzz_support {

class FuzzVoice {
public:
    // Writes the fixture voice with the request log on (plus `extra_settings`
    // lines in "vokari.txt") and loads it as the host does, and into module().
    FuzzVoice(const char* tag, const std::vector<std::string>& extra_settings = {});
    // Unloads the module and removes the directory.
    ~FuzzVoice();
    FuzzVoice(const FuzzVoice&) = delete;
    FuzzVoice& operator=(const FuzzVoice&) = delete;

    const std::string& directory() const { return directory_; }
    // The harness's own module object, loaded from the same directory.
    vokari::Module& module() { return module_; }
    // Native path of `relative` (slash separated) inside the module directory.
    std::string path(const std::string& relative) const { return directory_ + "/" + relative; }

    // After a request: empties the log, and when the request left a sound
    // file, removes every file the voice did not start with, gives module()'s
    // sound effects back the samples they were loaded with, and loads the
    // host's module again.
    void tidy_after_request();

private:
    std::set<std::string> files_at_load() const;

    std::string directory_;
    std::set<std::string> original_files_;
    std::vector<vokari::SoundEffect> original_effects_;
    vokari::Module module_;
};

}  // namespace fuzz_support
