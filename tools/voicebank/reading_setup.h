// A voice built into a new module folder speaks kanji: the folder gets a
// settings file that turns on reading, with the bundled reading dictionary.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

// The settings lines that turn reading on for a voice with reading.dic
// beside it.  Another reading step that has its own settings key goes here.
std::vector<std::string> reading_settings_lines();

// When `module_dir` has no vokari.txt yet, copies reading.dic (and its
// licence) from the first of `voice_dirs` that has one and writes a
// vokari.txt that reads through it.  An existing vokari.txt is never touched.
// Returns what was done or what the author has to do, in one line, or ""
// when the folder already had its settings.
std::string set_up_reading(const std::string& module_dir, const std::vector<std::string>& voice_dirs);

// Where the bundled voice may be found, relative to the running program
// `argv0`: beside it (the Windows zip), in voices/default below it (the
// Linux tarball), and in the source tree the program was built from.
std::vector<std::string> bundled_voice_dirs(const char* argv0);

}  // namespace voicebank
}  // namespace vokari
