// The fixture voice for the fuzz harnesses, loaded once per process.
#include "support/fuzz_voice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "host/entry_points.h"
#include "host/base/module_paths.h"
#include "platform/platform.h"
#include "support/fixture_voice.h"
#include "synth/wav_image.h"
#include "translate/scanner.h"
#include "synth/sound_file.h"
#include "host/base/mulaw.h"

namespace fuzz_support {

namespace fs = std::filesystem;

namespace {
const char kLogName[] = "fuzz.log";
}

FuzzVoice::FuzzVoice(const char* tag, const std::vector<std::string>& extra_settings)
    : directory_(fixture::temp_directory(tag)) {
    require(!directory_.empty(), "a temporary module directory");
    fixture::VoiceOptions options;
    options.settings_lines.push_back(std::string("log, ") + kLogName);
    options.settings_lines.insert(options.settings_lines.end(), extra_settings.begin(), extra_settings.end());
    fixture::make_voice(directory_, options);
    original_files_ = files_at_load();

    vokari::platform::set_player(vokari::platform::null_player());
    void* block = vokari::platform::global_alloc(directory_.size());
    require(block != nullptr, "a block for the module directory");
    std::copy(directory_.begin(), directory_.end(), static_cast<char*>(block));
    load(static_cast<HGLOBAL>(block), static_cast<long>(directory_.size()));
    original_effects_ = vokari::sound_effects;
}

FuzzVoice::~FuzzVoice() {
    unload();
    fixture::remove_tree(directory_);
}

std::set<std::string> FuzzVoice::files_at_load() const {
    std::set<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(directory_, error), end; !error && it != end; it.increment(error))
        files.insert(it->path().string());
    return files;
}

void FuzzVoice::tidy_after_request() {
    std::error_code error;
    fs::resize_file(path(kLogName), 0, error);
    if (vokari::wav_output_spec.empty()) return;
    for (const std::string& file : files_at_load())
        if (original_files_.count(file) == 0) fs::remove(file, error);
    vokari::sound_effects = original_effects_;
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace fuzz_support
