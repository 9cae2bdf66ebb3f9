// UTF-8 decoding, the kanji test and the kana conversion of every tool.
#include "tools/text/utf8.h"

namespace vokari {
namespace text {

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
    // The smallest value each length may carry; anything below is overlong.
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

std::size_t utf8_step(const std::string& text, std::size_t pos) {
    char32_t code;
    const std::size_t start = pos;
    return next_utf8(text, pos, code) ? pos - start : 1;
}

bool is_kanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x2FFFF) || c == 0x3005 || c == 0x3006 || c == 0x30F6;
}

bool holds_kanji(const std::string& utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t code;
        if (!next_utf8(utf8, pos, code)) ++pos;
        else if (is_kanji(code)) return true;
    }
    return false;
}

namespace {

// `utf8` with every character from `first` to `last` (all three-byte
// characters) moved `by` code points.
std::string shift_kana(const std::string& utf8, char32_t first, char32_t last, int by) {
    std::string out;
    std::size_t pos = 0;
    char32_t c;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        if (!next_utf8(utf8, pos, c)) {
            out += utf8[pos++];
            continue;
        }
        if (c >= first && c <= last) {
            c += by;
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out.append(utf8, start, pos - start);
        }
    }
    return out;
}

}  // namespace

std::string katakana_to_hiragana(const std::string& utf8) { return shift_kana(utf8, 0x30A1, 0x30F6, -0x60); }
std::string hiragana_to_katakana(const std::string& utf8) { return shift_kana(utf8, 0x3041, 0x3096, 0x60); }

}  // namespace text
}  // namespace vokari
