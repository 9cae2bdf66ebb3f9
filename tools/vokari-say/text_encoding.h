// Conversion between the UTF-8 that people type and the Shift_JIS (code page
// 932) byte strings that the module reads and writes.
#pragma once

#include <string>

namespace vokari {
namespace say {

struct Converted {
    bool ok = false;
    std::string text;   // the converted bytes when ok
    std::string error;  // a message for the user when not ok
};

// UTF-8 text in, code page 932 bytes out.  Fails on bytes that are not UTF-8
// (the error names the byte offset) and on characters that have no code page
// 932 form (the error names each of them once, with its code point).  The yen
// sign becomes the full-width yen sign, never the byte 0x5C, which the module
// would read as the start of a script tag.
Converted utf8_to_cp932(const std::string& utf8);

// How the text of a script file is encoded.
enum class ScriptEncoding { Detect, Utf8, ShiftJis };

// The text of a script file in `encoding` in, UTF-8 text out.  Detect takes
// the bytes for UTF-8 when they are valid UTF-8 and for Shift_JIS (code page
// 932) otherwise; Japanese text in Shift_JIS is practically never valid
// UTF-8.  Fails, naming the encoding and the byte, when the bytes are not
// text in the encoding given or found.
Converted script_file_to_utf8(const std::string& bytes, ScriptEncoding encoding);

// Code page 932 bytes in, UTF-8 text out.  Fails on bytes that form no code
// page 932 character (the error names the byte offset and the bytes).
Converted cp932_to_utf8(const std::string& cp932);

}  // namespace say
}  // namespace vokari
