// EUC-JP lines as UTF-8 and the kana classes of the reading-dictionary builder.
#include "tools/readings/japanese_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <fstream>
#include <vector>

namespace vokari {
namespace readings {

#ifdef _WIN32
// Windows has EUC-JP as code page 20932.
std::string euc_jp_to_utf8(const std::string& line) {
    if (line.empty()) return "";
    const int size = static_cast<int>(line.size());
    const int wide_length = MultiByteToWideChar(20932, MB_ERR_INVALID_CHARS, line.data(), size, nullptr, 0);
    if (wide_length <= 0) return "";
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(20932, MB_ERR_INVALID_CHARS, line.data(), size, &wide[0], wide_length);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, &out[0], length, nullptr, nullptr);
    return out;
}
#else
std::string euc_jp_to_utf8(const std::string& line) {
    iconv_t cd = iconv_open("UTF-8", "EUC-JP");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "";
    std::vector<char> out(line.size() * 3 + 8);
    char* in_ptr = const_cast<char*>(line.data());
    std::size_t in_left = line.size();
    char* out_ptr = out.data();
    std::size_t out_left = out.size();
    const std::size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1)) return "";
    return std::string(out.data(), out.size() - out_left);
}
#endif

bool read_euc_jp_lines(const std::string& path, const char* package, std::vector<std::string>& lines,
                       std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) error = "cannot read " + path + " (install the Debian package " + package + ")";
    for (std::string raw; std::getline(file, raw);) lines.push_back(euc_jp_to_utf8(raw));
    return error.empty();
}

bool is_hiragana(char32_t c) { return c >= 0x3041 && c <= 0x309F; }
bool is_katakana(char32_t c) { return (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC; }

bool is_all_kana(const std::string& utf8) {
    std::size_t pos = 0;
    char32_t c;
    while (pos < utf8.size()) {
        if (!next_utf8(utf8, pos, c) || !(is_hiragana(c) || is_katakana(c))) return false;
    }
    return !utf8.empty();
}

std::size_t character_count(const std::string& utf8) {
    std::size_t pos = 0, count = 0;
    char32_t c;
    while (pos < utf8.size()) {
        if (!next_utf8(utf8, pos, c)) ++pos;
        ++count;
    }
    return count;
}

}  // namespace readings
}  // namespace vokari
