// Shift_JIS decoding in the page, whose C library has no Windows code page
// 932: the browser's own "shift_jis" decoder, which covers the same
// extensions (NEC and IBM rows, user-defined area).  It differs in one byte:
// it reads a lone 0x80 as U+0080, which the Windows code page refuses, so the
// byte layout is checked here first and only the well-formed part is given to
// the browser.
#include <emscripten/emscripten.h>

#include <string>

#include "tools/text/shift_jis.h"

// Decodes `length` bytes at `bytes` strictly into at most `capacity` bytes of
// UTF-8 at `out`.  Returns the UTF-8 length or, when a character is not in the
// browser's table, -1 minus the index of that character (every character
// decodes into one UTF-16 unit, so the index counts characters).
EM_JS(int, browser_shift_jis_to_utf8, (const char* bytes, int length, char* out, int capacity), {
    const input = HEAPU8.subarray(bytes, bytes + length);
    let text;
    try {
        text = new TextDecoder('shift_jis', {fatal : true}).decode(input);
    } catch (error) {
        const bad = new TextDecoder('shift_jis').decode(input).indexOf(String.fromCharCode(0xFFFD));
        return -1 - Math.max(bad, 0);
    }
    if (lengthBytesUTF8(text) >= capacity) return -1;
    return stringToUTF8(text, out, capacity);
});

namespace vokari {
namespace text {

ShiftJisDecoding shift_jis_to_utf8(const std::string& bytes) {
    ShiftJisDecoding result;
    std::size_t well_formed = 0;
    while (well_formed < bytes.size()) {
        const std::size_t length = shift_jis_character_length(bytes, well_formed);
        if (length == 0) break;
        well_formed += length;
    }
    std::string out(well_formed * 3 + 4, '\0');
    const int length = browser_shift_jis_to_utf8(bytes.data(), static_cast<int>(well_formed), out.data(),
                                                 static_cast<int>(out.size()));
    if (length < 0) {
        std::size_t offset = 0;
        for (int k = -1 - length; k > 0; --k) offset += shift_jis_character_length(bytes, offset);
        result.bad_offset = offset;
        return result;
    }
    if (well_formed < bytes.size()) {
        result.bad_offset = well_formed;
        return result;
    }
    out.resize(static_cast<std::size_t>(length));
    result.utf8 = std::move(out);
    result.ok = true;
    return result;
}

}  // namespace text
}  // namespace vokari
