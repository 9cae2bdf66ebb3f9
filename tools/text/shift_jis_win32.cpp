// Code page 932 conversions through Windows' own tables, for the Windows
// builds of the tools, whose C library has no iconv.
#include <windows.h>

#include "tools/text/shift_jis.h"
#include "tools/text/utf8.h"

namespace vokari {
namespace text {
namespace {

constexpr UINT kCodePage = 932;

std::wstring utf16_of(char32_t code_point) {
    if (code_point < 0x10000) return std::wstring(1, static_cast<wchar_t>(code_point));
    code_point -= 0x10000;
    return {static_cast<wchar_t>(0xD800 + (code_point >> 10)), static_cast<wchar_t>(0xDC00 + (code_point & 0x3FF))};
}

void append_utf8(char32_t code_point, std::string& out) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code_point >> 18));
        out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

// One character of the code page (1 or 2 bytes) as UTF-8; false when the
// code page does not assign it.
bool decode_character(const char* bytes, int length, std::string& out) {
    wchar_t wide[2];
    const int count = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, length, wide, 2);
    if (count != 1) return false;
    append_utf8(static_cast<char32_t>(wide[0]), out);
    return true;
}

}  // namespace

ShiftJisDecoding shift_jis_to_utf8(const std::string& bytes) {
    ShiftJisDecoding result;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = shift_jis_character_length(bytes, pos);
        if (length == 0 || !decode_character(bytes.data() + pos, static_cast<int>(length), result.utf8)) {
            result.utf8.clear();
            result.bad_offset = pos;
            return result;
        }
        pos += length;
    }
    result.ok = true;
    return result;
}

ShiftJisEncoding utf8_to_shift_jis(const std::string& utf8) {
    return encode_each_character(utf8, [](char32_t code_point, const std::string&, std::string& out) {
        const std::wstring wide = utf16_of(code_point);
        char bytes[4];
        BOOL defaulted = FALSE;
        const int count = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                              static_cast<int>(wide.size()), bytes, sizeof bytes, nullptr, &defaulted);
        if (count <= 0 || defaulted) return false;
        out.append(bytes, static_cast<std::size_t>(count));
        return true;
    });
}

}  // namespace text
}  // namespace vokari
