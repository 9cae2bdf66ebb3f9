// The fixture voice for the fuzz harnesses, loaded once per process.
#include "support/fuzz_voice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "vokari.h"
#include "platform/platform.h"
#include "support/fixture_voice.h"

namespace fuzz_support {

namespace fs = std::filesystem;

namespace {
const char kLogName[] = "fuzz.log";

// load as the host calls it.
void load_as_host(const std::string& directory) {
    void* block = vokari::platform::global_alloc(directory.size());
    require(block != nullptr, "a block for the module directory");
    std::copy(directory.begin(), directory.end(), static_cast<char*>(block));
    load(static_cast<HGLOBAL>(block), static_cast<long>(directory.size()));
}
}  // namespace

FuzzVoice::FuzzVoice(const char* tag, const std::vector<std::string>& extra_settings)
    : directory_(fixture::temp_directory(tag)) {
    require(!directory_.empty(), "a temporary module directory");
    fixture::VoiceOptions options;
    options.settings_lines.push_back(std::string("log, ") + kLogName);
    options.settings_lines.insert(options.settings_lines.end(), extra_settings.begin(), extra_settings.end());
    fixture::make_voice(directory_, options);
    original_files_ = files_at_load();

    vokari::platform::set_player(vokari::platform::null_player());
    load_as_host(directory_);
    vokari::load_module(module_, directory_.data(), static_cast<long>(directory_.size()));
    original_effects_ = module_.voice.sound_effects;
}

FuzzVoice::~FuzzVoice() {
    unload();
    vokari::unload_module(module_);
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
    bool new_files = false;
    for (const std::string& file : files_at_load()) {
        if (original_files_.count(file) != 0) continue;
        fs::remove(file, error);
        new_files = true;
    }
    if (!new_files) return;
    module_.voice.sound_effects = original_effects_;
    unload();
    load_as_host(directory_);
}

}  // namespace fuzz_support
