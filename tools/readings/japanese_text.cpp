#include "tools/readings/japanese_text.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace readings {

bool next_utf8(const std::string& text, std::size_t& pos, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (pos >= text.size()) return false;
    const unsigned char lead = byte(pos);
    std::size_t length;
    char32_t value;
    if (lead < 0x80) {
        code = lead;
        ++pos;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07;
    } else {
        return false;
    }
    if (pos + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(pos + k) & 0xC0) != 0x80) return false;
        value = (value << 6) | (byte(pos + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are invalid.
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    code = value;
    pos += length;
    return true;
}

std::optional<std::size_t> first_invalid_utf8(const std::string& bytes) {
    std::size_t pos = 0;
    char32_t code;
    while (pos < bytes.size())
        if (!next_utf8(bytes, pos, code)) return pos;
    return std::nullopt;
}

namespace {

// One conversion through iconv; nothing when any byte fails.
std::optional<std::string> convert(const char* to, const char* from, const std::string& text) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::vector<char> out(text.size() * 4 + 16);
    char* in_ptr = const_cast<char*>(text.data());
    std::size_t in_left = text.size();
    char* out_ptr = out.data();
    std::size_t out_left = out.size();
    const std::size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || in_left != 0) return std::nullopt;
    return std::string(out.data(), out.size() - out_left);
}

}  // namespace

std::optional<std::size_t> first_invalid_shift_jis(const std::string& bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[pos]);
        if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) {
            ++pos;
            continue;
        }
        // Lead bytes 0x81..0x9F and 0xE0..0xFC; 0x80, 0xA0, 0xFD..0xFF lead nothing.
        if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC))) return pos;
        if (pos + 1 >= bytes.size()) return pos;
        const unsigned char trail = static_cast<unsigned char>(bytes[pos + 1]);
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return pos;
        pos += 2;
    }
    // Well formed; every pair must also be a character of the code page.
    // iconv stops at the first one that is not.
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    std::vector<char> out(bytes.size() * 2 + 16);
    char* in_ptr = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    char* out_ptr = out.data();
    std::size_t out_left = out.size();
    const std::size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || in_left != 0) return static_cast<std::size_t>(in_ptr - bytes.data());
    return std::nullopt;
}

std::optional<std::string> utf8_to_shift_jis(const std::string& utf8) { return convert("CP932", "UTF-8", utf8); }
std::optional<std::string> shift_jis_to_utf8(const std::string& sjis) { return convert("UTF-8", "CP932", sjis); }

bool is_kanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
           c == 0x3005 /* repetition mark */ || c == 0x3006 || c == 0x30F6 /* small ke */;
}
bool is_hiragana(char32_t c) { return c >= 0x3041 && c <= 0x309F; }
bool is_katakana(char32_t c) { return (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC; }

bool holds_kanji(const std::string& utf8) {
    std::size_t pos = 0;
    char32_t c;
    while (next_utf8(utf8, pos, c))
        if (is_kanji(c)) return true;
    return false;
}

bool is_all_kana(const std::string& utf8) {
    std::size_t pos = 0;
    char32_t c;
    while (pos < utf8.size()) {
        if (!next_utf8(utf8, pos, c) || !(is_hiragana(c) || is_katakana(c))) return false;
    }
    return !utf8.empty();
}

std::string katakana_to_hiragana(const std::string& utf8) {
    std::string out;
    std::size_t pos = 0;
    char32_t c;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        if (!next_utf8(utf8, pos, c)) {
            out += utf8[pos++];
            continue;
        }
        if (c >= 0x30A1 && c <= 0x30F6) {
            c -= 0x60;
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out.append(utf8, start, pos - start);
        }
    }
    return out;
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
