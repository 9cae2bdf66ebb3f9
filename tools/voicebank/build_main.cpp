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
#include "folder_index.h"
#include "oto_import.h"
#include "reading_setup.h"
#include "recording_checks.h"
#include "slot_analysis.h"
#include "syllables.h"

namespace fs = std::filesystem;
using namespace vokari::voicebank;

namespace {

// The recording of `romaji` under any extension libsndfile reads, whatever
// the letter case of its name; empty when there is none.
std::string find_recording(const FolderIndex& folder, const std::string& romaji) {
    for (const char* extension : {".wav", ".flac", ".ogg", ".aiff", ".aif", ".au", ".caf", ".w64"}) {
        const std::string path = folder.find(romaji + extension);
        if (!path.empty()) return path;
    }
    return {};
}

bool is_folder(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(fs::u8path(path), ignored);
}

int build_from_recordings(const Options& options) {
    const FolderIndex folder(options.source);
    std::vector<std::string> paths(kSyllableCount);
    int found = 0;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        paths[slot] = find_recording(folder, kSyllables[slot].romaji);
        if (!paths[slot].empty()) ++found;
    }
    if (found == 0) {
        std::fprintf(stderr,
                     "vokari-voicebank: no recordings named by syllable (a.wav, ka.wav, ...) in %s; "
                     "nothing changed\n",
                     options.source.c_str());
        return kExitFailed;
    }

    BuildReport report;
    for (const std::string& group : folder.ambiguous_names()) {
        report.notes.push_back("names that differ only in case: " + group + "; one of them was used");
    }
    // Progress on a terminal only: a log file gets the report alone.
    const bool show_progress = isatty(fileno(stderr)) != 0;
    std::vector<SlotSample> samples;
    std::vector<std::string> names;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        const std::string romaji = kSyllables[slot].romaji;
        if (paths[slot].empty()) {
            report.empty.push_back(romaji);
            continue;
        }
        const std::string name = fs::u8path(paths[slot]).filename().u8string();
        if (show_progress) std::fprintf(stderr, "\ranalysing %3d/%d %-12s", slot + 1, kSyllableCount, name.c_str());
        const AudioReadResult audio = read_recording(paths[slot]);
        if (!audio.error.empty()) {
            if (show_progress) std::fprintf(stderr, "\n");
            std::fprintf(stderr, "vokari-voicebank: the recording %s %s; nothing changed\n", paths[slot].c_str(),
                         audio.error.c_str());
            return kExitFailed;
        }
        if (audio.clipped) {
            report.left_out.push_back(name + ": clipped (the recording reaches full scale and is cut off)");
            continue;
        }
        if (is_nearly_silent(audio.samples)) {
            report.left_out.push_back(name + ": silent or nearly silent (below -50 dBFS)");
            continue;
        }
        samples.push_back(analyse_slot(slot, audio.samples));
        names.push_back(name);
    }
    if (show_progress) std::fprintf(stderr, "\r%40s\r", "");
    return tune_and_write(std::move(samples), std::move(names), report, options.speaker, options.module_dir);
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
