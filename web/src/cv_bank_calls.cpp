// Importing a CV voice bank in the page: the browser hands over the bank's
// files (oto.ini texts, the names of all files) and its recordings decoded
// and resampled, this file runs the same importer as vokari-voicebank on
// them.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "build_output.h"
#include "command_line.h"
#include "oto_bank.h"

namespace {

// A bank held in memory: paths relative to its top folder, '/' between
// folders.
class PageBank : public vokari::voicebank::OtoBankFiles {
public:
    void begin(const std::string& name) {
        name_ = name;
        files_.clear();
        recordings_.clear();
        folders_ = {""};
    }

    void add_file(const std::string& path, std::string bytes) {
        files_[path] = std::move(bytes);
        for (std::string folder = parent(path); !folder.empty(); folder = parent(folder)) folders_.insert(folder);
    }

    void add_recording(const std::string& path, vokari::voicebank::AudioReadResult recording) {
        add_file(path, {});
        recordings_[path] = std::move(recording);
    }

    std::vector<std::string> sub_folders() const override {
        // Folders compare part by part, as paths on disk do: "a/b" before "a-c".
        std::vector<std::filesystem::path> below;
        for (const std::string& folder : folders_) {
            if (!folder.empty()) below.emplace_back(folder);
        }
        std::sort(below.begin(), below.end());
        std::vector<std::string> folders;
        for (const auto& folder : below) folders.push_back(folder.generic_string());
        return folders;
    }

    bool is_folder(const std::string& folder) const override { return folders_.count(folder) > 0; }

    std::vector<std::string> file_names(const std::string& folder) const override {
        std::vector<std::string> names;
        for (const auto& file : files_) {
            if (parent(file.first) == folder)
                names.push_back(file.first.substr(folder.empty() ? 0 : folder.size() + 1));
        }
        return names;
    }

    std::string read(const std::string& path) const override {
        const auto it = files_.find(path);
        return it == files_.end() ? std::string() : it->second;
    }

    vokari::voicebank::AudioReadResult recording(const std::string& path) const override {
        const auto it = recordings_.find(path);
        if (it != recordings_.end()) return it->second;
        vokari::voicebank::AudioReadResult missing;
        missing.error = "not decoded by the browser";
        return missing;
    }

    std::string describe(const std::string& folder) const override {
        return folder.empty() ? name_ : name_ + "/" + folder;
    }

private:
    static std::string parent(const std::string& path) {
        const size_t slash = path.rfind('/');
        return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }

    std::string name_;
    std::map<std::string, std::string> files_;
    std::map<std::string, vokari::voicebank::AudioReadResult> recordings_;
    std::set<std::string> folders_;
};

PageBank bank;

}  // namespace

extern "C" {

// Forgets the bank held so far; `name` is how messages name the new one.
EMSCRIPTEN_KEEPALIVE void web_cv_begin(const char* name) {
    bank.begin(name);
    web::forget_run();
}

// A file of the bank: `path` relative to its top folder, `size` bytes at
// `bytes` (none for files the importer only needs to find by name).
EMSCRIPTEN_KEEPALIVE void web_cv_add_file(const char* path, const char* bytes, int size) {
    bank.add_file(path, std::string(bytes, bytes + (size > 0 ? size : 0)));
}

// A recording of the bank as the browser decoded it (see browser_recording).
EMSCRIPTEN_KEEPALIVE void web_cv_add_recording(const char* path, const float* frames, int frame_count, int channels,
                                               double rate, const float* mono, int mono_count, const char* error) {
    bank.add_recording(path, web::browser_recording(frames, frame_count, channels, rate, mono, mono_count, error));
}

// Imports the bank (or its sub-folder `subbank`, when not empty) for speaker
// `speaker` (0 or 1).  Returns the builder's exit status: 0 built, 1 failed,
// 3 built with warnings; the report and the files made are in web_build_*.
EMSCRIPTEN_KEEPALIVE int web_cv_import(const char* subbank, int speaker) {
    if (speaker != 0 && speaker != 1)
        return web::refuse_run(vokari::voicebank::kExitUsage, "the speaker must be 0 or 1");
    return web::run_builder([&](std::FILE* out, std::FILE* err) {
        return vokari::voicebank::import_oto_files(bank, subbank, speaker, web::keep_bank_files(speaker), out, err);
    });
}

}  // extern "C"
