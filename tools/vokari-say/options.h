// The command line of vokari-say.
#pragma once

#include <string>
#include <vector>

#include "tools/vokari-say/text_encoding.h"

namespace vokari {
namespace say {

enum class Protocol { Makoto, Saori };

struct Options {
    std::string script;                                // from the arguments (words joined by spaces)
    bool script_given = false;                         // true when the arguments held a script
    std::string script_file;                           // --file; "-" is standard input
    ScriptEncoding encoding = ScriptEncoding::Detect;  // --encoding of --file or standard input
    std::string raw_file;                              // --raw: a complete request to send unchanged
    std::string module_dir;                            // --module-dir; empty = the bundled voice
    std::string library;                               // --library; empty = found beside the program
    std::string output_wav;                            // --output
    std::string svg_file;                              // --svg
    Protocol protocol = Protocol::Makoto;
    bool play = true;           // false with --no-play
    bool wait = true;           // false with --no-wait
    bool pace = false;          // --pace
    int message_speed_ms = 50;  // --message-speed: the host's ms per character
    bool help = false;
    bool reading = false;    // --reading: print the spoken morae instead of speaking
    bool pitch = false;      // --pitch: with --reading, each mora's accent pitch factor
    bool timing = false;     // --timing: with --reading, each mora's start, length and pitch from the prosody model
    bool each_line = false;  // --each-line: every line of --file is a script of its own
};

struct ParsedOptions {
    bool ok = false;
    Options options;
    std::string error;  // what was wrong with the command line
};

// The arguments after the program name in, the options or a usage error out.
ParsedOptions parse_options(const std::vector<std::string>& arguments);

// The help text, with `program` as the command name.
std::string usage_text(const std::string& program);

}  // namespace say
}  // namespace vokari
