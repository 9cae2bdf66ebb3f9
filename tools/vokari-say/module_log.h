// The WARNING and ERROR lines of the module's request log, and the
// dictionaries it could not read.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace say {

// The lines of the log text `log` (Shift_JIS, CR LF or LF line ends) that
// begin with "WARNING : " or "ERROR : ", and those of the dictionaries that
// were not read ("...Can't open file."), in order, as UTF-8 (a line that is
// not Shift_JIS is given as it is).  Every occurrence of `private_dir` (the
// private module folder as the module writes it, with backslashes) followed by
// a backslash is written as `voice_dir` and a slash, so that the user reads
// the names of their own files.
std::vector<std::string> module_problems(const std::string& log, const std::string& private_dir,
                                         const std::string& voice_dir);

}  // namespace say
}  // namespace vokari
