// Writing a tool's output whole or not at all: the bytes go to a file beside
// the target, which then replaces it, so a full disk or a killed program
// leaves the old file (or none) and never a half one.
#pragma once

#include <string>

namespace vokari {
namespace text {

// Writes `bytes` to `path` (UTF-8) through "<path>.part<process id>" and
// renames that over `path`.  False, with the system's reason in `reason`
// and the file beside removed, when anything fails.
bool replace_file(const std::string& path, const std::string& bytes, std::string& reason);

// The same for a copy of the file `from`.
bool replace_file_with_copy(const std::string& from, const std::string& path, std::string& reason);

}  // namespace text
}  // namespace vokari
