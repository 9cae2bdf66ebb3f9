// The byte that introduces the module's voice-control tags.
#pragma once

#include <string>

namespace vokari_say {

// Reads the "tag.prefix" line of "vokari.txt" in `module_dir` the way the
// module does (last line wins, first byte of the trimmed value, a trailing
// " //" comment removed) and gives the prefix byte: '@' when the file or the
// line is missing, '\0' when the value is empty (no voice-control tags).
char read_tag_prefix(const std::string& module_dir);

}  // namespace vokari_say
