// The builder's command line: what to build from, for which speaker, where.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

// Exit statuses of vokari-voicebank, one meaning each.
constexpr int kExitBuilt = 0;              // bank written, nothing to report
constexpr int kExitFailed = 1;             // nothing written; the module folder is as it was
constexpr int kExitUsage = 2;              // bad command line; nothing read or written
constexpr int kExitBuiltWithWarnings = 3;  // bank written; some slots left out or estimates failed

struct Options {
    bool help = false;       // --help: print the usage and stop
    bool oto = false;        // --oto: the source is a bank with oto.ini files
    int speaker = 0;         // 0 or 1
    std::string subbank;     // --subbank: the sub-folder of an oto bank to read; empty = all
    std::string source;      // recordings folder, or the oto bank's folder
    std::string module_dir;  // the module folder the sample directories go into
    std::string error;       // non-empty: the command line is wrong, in words
};

// Reads the arguments after the program name.  Never fails hard: a wrong
// command line comes back with `error` set.
Options parse_command_line(const std::vector<std::string>& arguments);

// The full usage text, with the exit statuses, ending in a newline.
const char* usage_text();

}  // namespace voicebank
}  // namespace vokari
