// Shift_JIS decoding in the page, whose C library has no Windows code page
// 932: the browser's own "shift_jis" decoder, which covers the same
// extensions (NEC and IBM rows, user-defined area).  It differs in one byte:
// it reads a lone 0x80 as U+0080, which the Windows code page refuses, so
// lead bytes are checked here first.
#include <emscripten/emscripten.h>

#include <string>

#include "text_encoding.h"

// Decodes `length` bytes at `bytes` strictly into at most `capacity` bytes of
// UTF-8 at `out`.  Returns the UTF-8 length, or -1 when the bytes are not
// Shift_JIS.
EM_JS(int, browser_shift_jis_to_utf8, (const char* bytes, int length, char* out, int capacity), {
    let text;
    try {
        text = new TextDecoder('shift_jis', {fatal: true}).decode(HEAPU8.subarray(bytes, bytes + length));
    } catch (error) {
        return -1;
    }
    if (lengthBytesUTF8(text) >= capacity) return -1;
    return stringToUTF8(text, out, capacity);
});

namespace voicebank {
namespace {

// True when every byte is ASCII, a half-width katakana (0xA1-0xDF), or a
// lead byte (0x81-0x9F, 0xE0-0xFC) followed by some trail byte.
bool lead_bytes_are_shift_jis(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (++i >= bytes.size()) return false;
            continue;
        }
        return false;
    }
    return true;
}

}  // namespace

bool shift_jis_to_utf8(const std::string& bytes, std::string& utf8) {
    if (!lead_bytes_are_shift_jis(bytes)) return false;
    std::string out(bytes.size() * 3 + 4, '\0');
    const int length = browser_shift_jis_to_utf8(bytes.data(), static_cast<int>(bytes.size()), out.data(),
                                                 static_cast<int>(out.size()));
    if (length < 0) return false;
    out.resize(static_cast<size_t>(length));
    utf8 = std::move(out);
    return true;
}

}  // namespace voicebank
