// Importing a CV voice bank from its files, wherever they are kept: a folder
// on disk for vokari-voicebank, files held in memory for the browser.  The
// bank is a folder of WAV recordings with oto.ini files that mark, for every
// syllable, where it starts, where its consonant ends and what to cut.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "audio_input.h"
#include "bank_build.h"

namespace vokari {
namespace voicebank {

// The files of one bank.  Paths are relative to the bank's top folder, with
// '/' between folders; "" is the top folder itself.
class OtoBankFiles {
public:
    virtual ~OtoBankFiles() = default;

    // Every folder below the top, at any depth, in the order their oto.ini
    // files are read.
    virtual std::vector<std::string> sub_folders() const = 0;

    // True when `folder` is a folder of the bank.
    virtual bool is_folder(const std::string& folder) const = 0;

    // The names of the files directly inside `folder`.
    virtual std::vector<std::string> file_names(const std::string& folder) const = 0;

    // The bytes of the file at `path`; empty when it cannot be read.
    virtual std::string read(const std::string& path) const = 0;

    // The recording at `path` as mono samples at kBankRate, with its length
    // and clipping as recorded, or with `error` set.
    virtual AudioReadResult recording(const std::string& path) const = 0;

    // `folder` as messages name it ("" names the bank).
    virtual std::string describe(const std::string& folder) const = 0;
};

// Imports `bank` (or only its sub-folder `subbank`, when not empty) for
// speaker `speaker` (0 or 1) and hands the tuned samples to `store`.  Per
// slot estimates go to `out`; the report goes to `err`: entries ignored, bad
// entries with their oto.ini line, duplicates, empty slots.  Returns the
// builder's exit status (see command_line.h); on kExitFailed `store` is not
// called, or failed.
int import_oto_files(const OtoBankFiles& bank, const std::string& subbank, int speaker, const BankSink& store,
                     std::FILE* out, std::FILE* err);

}  // namespace voicebank
}  // namespace vokari
