// Code page 932 conversions through Windows' own tables, for the Windows
// builds of the tools, whose C library has no iconv.
#include <windows.h>

#include "tools/text/shift_jis.h"

namespace vokari {
namespace text {
namespace {

constexpr UINT kCodePage = 932;

// One character of the code page (1 or 2 bytes) as UTF-8; false when the
// code page does not assign it.
bool decode_character(const char* bytes, int length, std::string& out) {
    wchar_t wide[2];
    if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, length, wide, 2) != 1) return false;
    char utf8[4];
    out.append(utf8,
               static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide, 1, utf8, sizeof utf8, nullptr, nullptr)));
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
    return encode_each_character(utf8, [](char32_t, const std::string& character, std::string& out) {
        wchar_t wide[2];
        const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, character.data(),
                                               static_cast<int>(character.size()), wide, 2);
        char bytes[4];
        BOOL defaulted = FALSE;
        const int count = length <= 0 ? 0
                                      : WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, bytes,
                                                            sizeof bytes, nullptr, &defaulted);
        if (count <= 0 || defaulted) return false;
        out.append(bytes, static_cast<std::size_t>(count));
        return true;
    });
}

}  // namespace text
}  // namespace vokari
