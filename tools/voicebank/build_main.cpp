// vokari-voicebank: builds one speaker's sample directories from a folder of
// recordings named by syllable (a.wav, ka.wav, shi.wav, kya.wav, n.wav, ...),
// or, with --oto, from a CV voice bank described by oto.ini files.
// `vokari-voicebank --help` prints the usage and the exit statuses.
//
// Everything that can be checked before writing is checked first: a failed
// run leaves the module folder exactly as it was.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "audio_input.h"
#include "bank_build.h"
#include "bank_writer.h"
#include "command_line.h"
#include "oto_import.h"
#include "reading_setup.h"
#include "recordings_build.h"

namespace fs = std::filesystem;
using namespace vokari::voicebank;

namespace {

bool is_folder(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(fs::u8path(path), ignored);
}

// The recordings of a folder on disk, read when the build needs them.
class FolderRecordings : public RecordingFiles {
public:
    explicit FolderRecordings(const std::string& folder) : folder_(folder) {}

    std::vector<std::string> file_names() const override {
        std::vector<std::string> names;
        std::error_code failure;
        fs::directory_iterator it(fs::u8path(folder_), failure);
        if (failure) return names;
        for (const fs::directory_entry& entry : it) {
            std::error_code ignored;
            if (entry.is_regular_file(ignored)) names.push_back(entry.path().filename().u8string());
        }
        return names;
    }

    AudioReadResult recording(const std::string& name) const override { return read_recording(describe(name)); }

    std::string describe(const std::string& name) const override {
        return name.empty() ? folder_ : (fs::u8path(folder_) / fs::u8path(name)).u8string();
    }

private:
    std::string folder_;
};

int build_from_recordings(const Options& options) {
    const BankSink to_module_dir = [&](const std::vector<SlotSample>& samples, const BankTuning& tuning,
                                       std::string& error) {
        return write_bank(options.module_dir, options.speaker, samples, tuning, error);
    };
    return build_from_recording_files(FolderRecordings(options.source), options.speaker, to_module_dir, stdout, stderr);
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
    const int status = options.oto ? import_oto_bank(options) : build_from_recordings(options);
    if (status == kExitBuilt || status == kExitBuiltWithWarnings) {
        const std::string reading = set_up_reading(options.module_dir, bundled_voice_dirs(argv[0]));
        if (!reading.empty()) std::printf("%s\n", reading.c_str());
    }
    return status;
}
