// The checks on each recording run on what its reader gives, so that a file
// decoded by libsndfile and one decoded by a browser are judged alike.
#include "recordings_build.h"

#include <unistd.h>

#include "command_line.h"
#include "folder_index.h"
#include "kana_alias.h"
#include "recording_checks.h"
#include "slot_analysis.h"
#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace {

// The extensions of recordings, in the order one is chosen when a syllable
// has several.
constexpr const char* kRecordingExtensions[] = {".wav", ".flac", ".ogg", ".aiff", ".aif", ".au", ".caf", ".w64"};

// The name without a recording's extension (any letter case); empty when it
// has none.
std::string recording_stem(const std::string& file_name) {
    const std::string folded = fold_case(file_name);
    for (const char* extension : kRecordingExtensions) {
        const std::string ext = extension;
        if (folded.size() > ext.size() && folded.compare(folded.size() - ext.size(), ext.size(), ext) == 0)
            return file_name.substr(0, file_name.size() - ext.size());
    }
    return {};
}

// The recording of `romaji` under any extension, whatever the letter case
// of its name; empty when there is none.
std::string find_recording(const FolderIndex& folder, const std::string& romaji) {
    for (const char* extension : kRecordingExtensions) {
        const std::string name = folder.find_name(romaji + extension);
        if (!name.empty()) return name;
    }
    return {};
}

}  // namespace

RecordingName read_recording_name(const std::string& file_name) {
    RecordingName result;
    const std::string stem = recording_stem(file_name);
    if (stem.empty()) {
        result.problem = file_name + ": not a recording (WAV, FLAC, OGG, AIFF, AU, CAF or W64); not used";
        return result;
    }
    result.sound_file = true;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        if (fold_case(stem) == kSyllables[slot].romaji) {
            result.slot = slot;
            return result;
        }
    }
    result.problem = file_name + ": not named after a syllable";
    // A syllable in kana is named in romaji, as the file should be.
    const AliasSlot alias = slot_of_alias(stem);
    if (alias.kind == AliasKind::Plain) {
        result.problem +=
            std::string(" (name it ") + kSyllables[alias.slot].romaji + file_name.substr(stem.size()) + ")";
    }
    result.problem += "; not used";
    return result;
}

int build_from_recording_files(const RecordingFiles& files, int speaker, const BankSink& store, std::FILE* out,
                               std::FILE* err) {
    const FolderIndex folder(files.file_names());
    std::vector<std::string> names(kSyllableCount);
    int found = 0;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        names[slot] = find_recording(folder, kSyllables[slot].romaji);
        if (!names[slot].empty()) ++found;
    }
    if (found == 0) {
        std::fprintf(err,
                     "vokari-voicebank: no recordings named by syllable (a.wav, ka.wav, ...) in %s; "
                     "nothing changed\n",
                     files.describe("").c_str());
        return kExitFailed;
    }

    BuildReport report;
    for (const std::string& group : folder.ambiguous_names()) {
        report.notes.push_back("names that differ only in case: " + group + "; one of them was used");
    }
    for (const std::string& name : files.file_names()) {
        const RecordingName read = read_recording_name(name);
        if (read.sound_file && read.slot < 0) report.notes.push_back(read.problem);
    }
    // Progress on a terminal only: a log file gets the report alone.
    const bool show_progress = isatty(fileno(err)) != 0;
    std::vector<SlotSample> samples;
    std::vector<std::string> used;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        const std::string& name = names[slot];
        if (name.empty()) {
            report.empty.push_back(kSyllables[slot].romaji);
            continue;
        }
        if (show_progress) std::fprintf(err, "\ranalysing %3d/%d %-12s", slot + 1, kSyllableCount, name.c_str());
        const AudioReadResult audio = files.recording(name);
        if (!audio.error.empty()) {
            if (show_progress) std::fprintf(err, "\n");
            std::fprintf(err, "vokari-voicebank: the recording %s %s; nothing changed\n", files.describe(name).c_str(),
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
        used.push_back(name);
    }
    if (show_progress) std::fprintf(err, "\r%40s\r", "");
    return tune_and_store(std::move(samples), std::move(used), report, speaker, store, out, err);
}

}  // namespace voicebank
}  // namespace vokari
