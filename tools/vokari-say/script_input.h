// Where the script comes from: the command line, a file or standard input.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vokari {
namespace say {

struct ReadResult {
    bool ok = false;
    std::string bytes;
    std::string error;
};

// Reads the whole of `path` ("-" = standard input) as bytes.
ReadResult read_input(const std::string& path);

// Turns the text of a script file into one script line: drops a UTF-8 byte
// order mark and the line breaks at the end, and writes every other line break
// (LF or CR LF) as the host's line-break tag "\n", because a request header
// cannot hold a raw line break.
std::string script_from_text(const std::string& text);

// The scripts of a --each-line file (UTF-8 text): one per line, without a
// byte order mark and line ends; a last empty line is no script.
std::vector<std::string> scripts_per_line(const std::string& text);

}  // namespace say
}  // namespace vokari
