// The reading builder's script input on any file content: telling UTF-8 from
// Shift_JIS, then taking the host's and the module's tags out.  Checks that
// a file is either decoded to valid UTF-8 or refused with a message, that no
// spoken segment keeps a tag or is longer than the text, and that walking
// Shift_JIS text for tags never splits a character.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/readings/script_text.h"
#include "tools/text/shift_jis.h"
#include "tools/text/text_detection.h"
#include "tools/text/utf8.h"
#include "support/fuzz_check.h"

using fuzz_support::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the voice-control prefix, as a settings file would.
    const char prefix = static_cast<char>(data[0] & 0x7f) > ' ' ? static_cast<char>(data[0] & 0x7f) : '@';
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::string utf8, error;
    const bool decoded = vokari::readings::decode_script(bytes, utf8, error);
    const vokari::text::DetectedText detected = vokari::text::detect_text_encoding(bytes);
    require(decoded == detected.ok, "the reader and the detection disagree");
    if (!decoded) {
        require(!error.empty(), "a refused file without a message");
        require(vokari::text::first_invalid_utf8(bytes).has_value(), "valid UTF-8 refused");
        return 0;
    }
    require(!vokari::text::first_invalid_utf8(utf8), "decoded text is not UTF-8");
    require(utf8.compare(0, 3, "\xEF\xBB\xBF") != 0 || bytes.compare(0, 6, "\xEF\xBB\xBF\xEF\xBB\xBF") == 0,
            "byte-order mark kept");

    std::size_t spoken = 0;
    for (const std::string& segment : vokari::readings::spoken_segments(utf8, prefix)) {
        require(!vokari::text::first_invalid_utf8(segment), "a segment split a character");
        require(segment.find('\\') == std::string::npos, "a backslash tag left in a segment");
        spoken += segment.size();
    }
    require(spoken <= utf8.size(), "segments longer than the text");

    if (detected.encoding == vokari::text::TextEncoding::ShiftJis) {
        std::size_t tag_bytes = 0;
        for (const std::string& tag : vokari::readings::tags_of(bytes, prefix, true)) {
            require(!tag.empty() && (tag[0] == '\\' || tag[0] == prefix), "a tag that is not one");
            tag_bytes += tag.size();
        }
        require(tag_bytes <= bytes.size(), "tags longer than the text");
    }
    for (const std::string& tag : vokari::readings::tags_of(utf8, prefix, false))
        require(!tag.empty() && (tag[0] == '\\' || tag[0] == prefix), "a tag that is not one");
    return 0;
}
