// The files vokari-readings reads when given folders: a character's folder
// (ghost/master) holds the module beside the scripts, and the module's own
// files are not script text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vokari {
namespace readings {

struct FoundFiles {
    std::vector<std::string> scripts;  // in name order
    std::size_t module_files = 0;      // settings, log, dictionaries it names, licences, guide, the DLL
    std::size_t sample_folders = 0;    // voice folders (details.txt or WAVs) and the guide's examples
    std::size_t other_files = 0;       // WAVs and other files that are not text
    std::size_t earlier_output = 0;    // dictionaries written by vokari-readings
};

// Walks `inputs`: a file given by name is always read; under a folder, the
// module's own files, sample folders, non-text files and the builder's own
// earlier output (its first line) are counted instead, as is `output`.
FoundFiles find_script_files(const std::vector<std::string>& inputs, const std::string& output);

// Whether a file that is neither UTF-8 nor Shift_JIS should be named as a
// script gone wrong: it was given by name, or ends in .txt or .dic.  Other
// files found in a folder are the host's data, counted as not text.
bool is_script_name(const std::string& file, const std::vector<std::string>& inputs);

// One line saying what was skipped, or "" when nothing was.
std::string skipped_summary(const FoundFiles& found);

// The first line of every dictionary vokari-readings writes.
extern const char* const kOwnOutputFirstLine;

}  // namespace readings
}  // namespace vokari
