// Importing a CV voice bank in the page: the browser hands over the bank's
// files (oto.ini texts, the names of all files) and its recordings decoded
// and resampled, this file runs the same importer as vokari-voicebank on
// them and keeps the module-directory files it makes, for the page to take.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bank_writer.h"
#include "command_line.h"
#include "oto_bank.h"
#include "recording_checks.h"

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
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> made;
std::string out_text;
std::string err_text;
std::string path_text;

// Runs `body` with two memory streams for its output and its report, which
// land in out_text and err_text; `status` is what it returns.
void run_with_streams(const std::function<int(std::FILE*, std::FILE*)>& body, int& status) {
    char* out_buffer = nullptr;
    size_t out_size = 0;
    char* err_buffer = nullptr;
    size_t err_size = 0;
    std::FILE* out = open_memstream(&out_buffer, &out_size);
    std::FILE* err = open_memstream(&err_buffer, &err_size);
    status = body(out, err);
    std::fclose(out);
    std::fclose(err);
    out_text.assign(out_buffer ? out_buffer : "", out_size);
    err_text.assign(err_buffer ? err_buffer : "", err_size);
    std::free(out_buffer);
    std::free(err_buffer);
}

}  // namespace

extern "C" {

// Forgets the bank held so far; `name` is how messages name the new one.
EMSCRIPTEN_KEEPALIVE void web_cv_begin(const char* name) {
    bank.begin(name);
    made.clear();
}

// A file of the bank: `path` relative to its top folder, `size` bytes at
// `bytes` (none for files the importer only needs to find by name).
EMSCRIPTEN_KEEPALIVE void web_cv_add_file(const char* path, const char* bytes, int size) {
    bank.add_file(path, std::string(bytes, bytes + (size > 0 ? size : 0)));
}

// A recording of the bank as the browser decoded it: `frames` frames of
// `channels` interleaved channels at `rate` Hz as recorded (for the clipping
// check and the length), and `mono_count` mono samples at the bank's rate.
// An `error` that is not empty marks a file the browser could not decode.
EMSCRIPTEN_KEEPALIVE void web_cv_add_recording(const char* path, const float* frames, int frame_count, int channels,
                                               double rate, const float* mono, int mono_count, const char* error) {
    vokari::voicebank::AudioReadResult recording;
    recording.error = error;
    if (recording.error.empty()) {
        recording.clipped =
            channels > 0 && vokari::voicebank::is_clipped(frames, static_cast<size_t>(frame_count), channels);
        recording.seconds = rate > 0 ? frame_count / rate : 0.0;
        recording.samples.assign(mono, mono + (mono_count > 0 ? mono_count : 0));
    }
    bank.add_recording(path, std::move(recording));
}

// Imports the bank (or its sub-folder `subbank`, when not empty) for speaker
// `speaker` (0 or 1).  Returns the builder's exit status: 0 built, 1 failed,
// 3 built with warnings.  The report is in web_cv_stdout and web_cv_stderr;
// the files made in web_cv_file_*.
EMSCRIPTEN_KEEPALIVE int web_cv_import(const char* subbank, int speaker) {
    made.clear();
    if (speaker != 0 && speaker != 1) {
        out_text.clear();
        err_text = "the speaker must be 0 or 1\n";
        return vokari::voicebank::kExitUsage;
    }
    const vokari::voicebank::BankSink keep = [speaker](const std::vector<vokari::voicebank::SlotSample>& samples,
                                                       const vokari::voicebank::BankTuning& tuning, std::string&) {
        for (auto& file : vokari::voicebank::bank_files(speaker, samples, tuning))
            made.emplace_back(file.first, std::move(file.second));
        return true;
    };
    int status = 0;
    run_with_streams(
        [&](std::FILE* out, std::FILE* err) {
            return vokari::voicebank::import_oto_files(bank, subbank, speaker, keep, out, err);
        },
        status);
    return status;
}

// The per-slot lines and the report of the last import (UTF-8).
EMSCRIPTEN_KEEPALIVE const char* web_cv_stdout() { return out_text.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_cv_stderr() { return err_text.c_str(); }

// The module-directory files of the last import: their number, and each
// one's path (relative to the module directory), bytes and size.
EMSCRIPTEN_KEEPALIVE int web_cv_file_count() { return static_cast<int>(made.size()); }
EMSCRIPTEN_KEEPALIVE const char* web_cv_file_path(int index) {
    path_text = made.at(static_cast<size_t>(index)).first;
    return path_text.c_str();
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* web_cv_file_data(int index) {
    return made.at(static_cast<size_t>(index)).second.data();
}
EMSCRIPTEN_KEEPALIVE int web_cv_file_size(int index) {
    return static_cast<int>(made.at(static_cast<size_t>(index)).second.size());
}

}  // extern "C"
