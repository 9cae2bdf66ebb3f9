// The files that vokari-say writes for the user (--output, --svg): checked
// before anything is spoken, written in place so that a symbolic link is
// written through and never replaced.
#pragma once

#include <string>

namespace vokari {
namespace say {

// "" when `path` can be written, else the reason ("No such file or
// directory", "Is a directory", "Permission denied", ...).  Leaves the file
// system as it was: an existing file keeps its content, and a file created
// for the test is removed again.
std::string why_not_writable(const std::string& path);

// Writes `bytes` into `path`, creating it or emptying it first; through a
// symbolic link, the link's target is written.  On Windows the bytes go to
// a file beside it that then replaces it, so a failed write keeps the old one.  False, with "cannot write
// <path>: <reason>" in `error`, on failure.
bool write_output_file(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace say
}  // namespace vokari
