// vokari-voicebank --oto: one speaker's sample directories from a CV voice
// bank, a folder of WAV recordings with oto.ini files that mark, for every
// syllable, where it starts, where its consonant ends and what to cut.
#pragma once

#include "command_line.h"

namespace vokari {
namespace voicebank {

// Imports the bank in options.source (or only its sub-folder
// options.subbank) into options.module_dir for options.speaker.  Prints
// the per-slot estimates to stdout and the report to stderr: entries
// ignored, bad entries with their oto.ini line, duplicates, empty slots.
// Returns the builder's exit status (see command_line.h).
int import_oto_bank(const Options& options);

}  // namespace voicebank
}  // namespace vokari
