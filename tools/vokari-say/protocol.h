// The request and response texts exchanged with the module's `request`.
#pragma once

#include <string>

#include "tools/vokari-say/options.h"

namespace vokari {
namespace say {

// The complete request that hands `script` (Shift_JIS bytes, no line breaks)
// to the module: MAKOTO/2.0 carries it in "String", SAORI/1.0 in "Argument0".
std::string build_request(const std::string& script, Protocol protocol);

// --reading: the request "GET Reading" that asks for the reading of
// `script_cp932` (answered only while the voice's reading step is on), each
// mora with its pitch factor with `pitch`, with its timing with `timing`.
// `silent_tag` comes first: should the module not know the command, it
// renders the script into that file instead of playing it.
std::string build_reading_request(const std::string& silent_tag, const std::string& script_cp932, bool pitch,
                                  bool timing);

struct Reply {
    bool ok = false;
    std::string script;  // the returned script (Shift_JIS bytes)
    std::string error;   // why the response could not be used
};

// Takes the response bytes and gives the script of its "String" or "Result"
// header; fails on a status other than 200 or a response without a script.
Reply parse_response(const std::string& response);

}  // namespace say
}  // namespace vokari
