// vokari-voicebank: builds one speaker's sample directories from a folder of
// recordings named by syllable (a.wav, ka.wav, shi.wav, kya.wav, n.wav, ...),
// or, with --oto, from a CV voice bank described by oto.ini files.
// `vokari-voicebank --help` prints the usage and the exit statuses.
//
// Everything that can be checked before writing is checked first: a failed
// run leaves the module folder exactly as it was.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "audio_input.h"
#include "bank_build.h"
#include "bank_writer.h"
#include "command_line.h"
#include "oto_bank.h"
#include "reading_setup.h"
#include "recordings_build.h"

namespace fs = std::filesystem;
using namespace vokari::voicebank;

namespace {

bool is_folder(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(fs::u8path(path), ignored);
}

// The source folder on disk, read when the build needs it: as recordings
// named by syllable, or as a CV bank whose oto.ini files are parsed first and
// whose recordings are read only when an entry needs them.
class SourceFolder : public RecordingFiles, public OtoBankFiles {
public:
    explicit SourceFolder(const std::string& source) : source_(source), top_(fs::u8path(source)) {}

    std::vector<std::string> sub_folders() const override {
        std::vector<fs::path> below;
        std::error_code failure;
        for (fs::recursive_directory_iterator it(top_, failure), end; !failure && it != end; it.increment(failure)) {
            std::error_code ignored;
            if (it->is_directory(ignored)) below.push_back(it->path());
        }
        std::sort(below.begin(), below.end());
        std::vector<std::string> folders;
        for (const fs::path& folder : below) folders.push_back(fs::relative(folder, top_).generic_u8string());
        return folders;
    }

    bool is_folder(const std::string& folder) const override {
        std::error_code ignored;
        return fs::is_directory(at(folder), ignored);
    }

    std::vector<std::string> file_names() const override { return file_names(""); }

    std::vector<std::string> file_names(const std::string& folder) const override {
        std::vector<std::string> names;
        std::error_code failure;
        fs::directory_iterator it(at(folder), failure);
        if (failure) return names;
        for (const fs::directory_entry& entry : it) {
            std::error_code ignored;
            if (entry.is_regular_file(ignored)) names.push_back(entry.path().filename().u8string());
        }
        return names;
    }

    std::string read(const std::string& path) const override {
        std::ifstream in(at(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    AudioReadResult recording(const std::string& path) const override { return read_recording(at(path).u8string()); }

    std::string describe(const std::string& path) const override {
        return path.empty() ? source_ : at(path).u8string();
    }

private:
    fs::path at(const std::string& relative) const { return relative.empty() ? top_ : top_ / fs::u8path(relative); }

    std::string source_;
    fs::path top_;
};

int build(const Options& options) {
    const SourceFolder source(options.source);
    const BankSink to_module_dir = [&](const std::vector<SlotSample>& samples, const BankTuning& tuning,
                                       std::string& error) {
        return write_bank(options.module_dir, options.speaker, samples, tuning, error);
    };
    if (options.oto) return import_oto_files(source, options.subbank, options.speaker, to_module_dir, stdout, stderr);
    return build_from_recording_files(source, options.speaker, to_module_dir, stdout, stderr);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::fputs(usage_text(), stdout);
        return kExitBuilt;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "vokari-voicebank: %s\n%s", options.error.c_str(), usage_text());
        return kExitUsage;
    }
    const char* source_kind = options.oto ? "bank folder" : "recordings folder";
    if (!is_folder(options.source)) {
        std::fprintf(stderr, "vokari-voicebank: %s %s does not exist or is not a folder; nothing changed\n",
                     source_kind, options.source.c_str());
        return kExitFailed;
    }
    if (!is_folder(options.module_dir)) {
        std::fprintf(stderr, "vokari-voicebank: module folder %s does not exist or is not a folder; nothing changed\n",
                     options.module_dir.c_str());
        return kExitFailed;
    }
    // Checked before the analysis, which takes a while: a folder the bank
    // cannot be written into is refused at once.
    if (access(options.module_dir.c_str(), W_OK) != 0) {
        std::fprintf(stderr, "vokari-voicebank: cannot write into the module folder %s: %s; nothing changed\n",
                     options.module_dir.c_str(), std::strerror(errno));
        return kExitFailed;
    }
    // A build killed while it swapped its directories in is finished before
    // anything else, so the module never keeps a mix of two banks.
    std::string error;
    if (!recover_interrupted_write(options.module_dir, options.speaker, error)) {
        std::fprintf(stderr, "vokari-voicebank: a killed build left %s half-swapped: %s\n", options.module_dir.c_str(),
                     error.c_str());
        return kExitFailed;
    }
    const int status = build(options);
    if (status == kExitBuilt || status == kExitBuiltWithWarnings) {
        const std::string reading = set_up_reading(options.module_dir, bundled_voice_dirs(argv[0]));
        if (!reading.empty()) std::printf("%s\n", reading.c_str());
    }
    return status;
}
