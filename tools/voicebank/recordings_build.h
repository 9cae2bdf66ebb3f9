// Building one speaker's bank from recordings named by syllable (a.wav,
// ka.wav, shi.flac, kya.wav, n.wav, ...), wherever they are kept: a folder
// on disk for vokari-voicebank, the files the browser decoded for the page.
// Both take the same recordings and say the same of the others.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "audio_input.h"
#include "bank_build.h"

namespace vokari {
namespace voicebank {

// The recordings of one folder.
class RecordingFiles {
public:
    virtual ~RecordingFiles() = default;

    // The names of the files directly inside the folder.
    virtual std::vector<std::string> file_names() const = 0;

    // The file `name` as mono samples at kBankRate, with its length and
    // clipping as recorded, or with `error` set.
    virtual AudioReadResult recording(const std::string& name) const = 0;

    // The file `name` as messages name it (with its folder), or the folder
    // itself for "".
    virtual std::string describe(const std::string& name) const = 0;
};

// What a file name says of the recording: the slot it is for (-1 for none),
// whether it is a sound file's name, and for any name but a syllable's, why
// the file is not used.  A folder's other files (notes, settings) go
// unmentioned; a sound file named after no syllable is named in the report.
struct RecordingName {
    int slot = -1;
    bool sound_file = false;
    std::string problem;
};
RecordingName read_recording_name(const std::string& file_name);

// Builds speaker `speaker`'s bank from `files` and hands the tuned samples
// to `store`.  Per slot estimates go to `out`; the report goes to `err`:
// recordings left out (clipped, silent, beyond the renderer's limits), sound
// files named after no syllable, empty slots.  Returns the builder's exit
// status (see command_line.h); a recording that cannot be read fails the
// whole build, and on kExitFailed `store` is not called, or failed.
int build_from_recording_files(const RecordingFiles& files, int speaker, const BankSink& store, std::FILE* out,
                               std::FILE* err);

}  // namespace voicebank
}  // namespace vokari
