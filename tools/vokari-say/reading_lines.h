// --reading: what the module says, as text.  Each script goes to the module
// as "GET Reading" (answered only while the voice's reading step is on) and
// its spoken morae come back as space-separated hiragana.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace say {

// The request that asks for the reading of `script_cp932`.  `silent_tag`
// comes first: should the module not know the command, it renders the
// script into that file instead of playing it.
// With `pitch`, each mora comes with its pitch factor.
std::string build_reading_request(const std::string& silent_tag, const std::string& script_cp932, bool pitch = false,
                                  bool timing = false);

// The scripts of a --each-line file (UTF-8 text): one per line, without a
// byte order mark and line ends; a last empty line is no script.
std::vector<std::string> scripts_per_line(const std::string& text);

}  // namespace say
}  // namespace vokari
