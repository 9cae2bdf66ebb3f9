// Sign readings: currency, plus and minus signs before a number and a run of
// w after Japanese text, read by the characters around them.
#include "reading/sign_readings.h"

#include "base/shift_jis.h"

namespace vokari {

namespace {

unsigned code_at(const char* text, std::size_t at, std::size_t length) {
    const unsigned char b = static_cast<unsigned char>(text[at]);
    if (sjis_char_size(text, at, length) == 1) return b;
    return static_cast<unsigned>(b) << 8 | static_cast<unsigned char>(text[at + 1]);
}

bool is_digit_code(unsigned c) { return (c >= '0' && c <= '9') || (c >= 0x824F && c <= 0x8258); }
bool is_letter_code(unsigned c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0x8260 && c <= 0x8279) ||
           (c >= 0x8281 && c <= 0x829A);
}
bool is_w_code(unsigned c) { return c == 'w' || c == 'W' || c == 0x8297 || c == 0x8276; }          // w W ｗ Ｗ
bool is_separator_code(unsigned c) { return c == ',' || c == '.' || c == 0x8143 || c == 0x8144; }  // , . ， ．

std::size_t size_at(const char* text, std::size_t at, std::size_t length) { return sjis_char_size(text, at, length); }

// The unit said after the number that a currency sign stands before.
const char* currency_unit(unsigned c) {
    switch (c) {
    case 0x818F: return "\x89\x7E";  // ￥: 円
    case '$':
    case 0x8190: return "\x83\x68\x83\x8B";          // ＄: ドル
    case 0x8192: return "\x83\x7C\x83\x93\x83\x68";  // ￡: ポンド
    case 0x8191: return "\x83\x5A\x83\x93\x83\x67";  // ￠: セント
    default: return nullptr;
    }
}

// The word said for a plus or minus sign before a number.
const char* sign_word(unsigned c) {
    switch (c) {
    case '+':
    case 0x817B: return "\x83\x76\x83\x89\x83\x58";  // ＋: プラス
    case '-':
    case 0x817C: return "\x83\x7D\x83\x43\x83\x69\x83\x58";  // −: マイナス
    default: return nullptr;
    }
}

// Bytes of the number at text[at]: digits, with a comma or point between two
// of them; 0 when no digit starts there.
std::size_t number_span(const char* text, std::size_t at, std::size_t length) {
    std::size_t end = at;
    while (end < length) {
        const unsigned c = code_at(text, end, length);
        if (is_digit_code(c)) {
            end += size_at(text, end, length);
            continue;
        }
        if (end == at || !is_separator_code(c)) break;
        const std::size_t next = end + size_at(text, end, length);
        if (next >= length || !is_digit_code(code_at(text, next, length))) break;
        end = next;
    }
    return end - at;
}

}  // namespace

bool is_japanese_char(const char* text, std::size_t at, std::size_t length) {
    const unsigned char b = static_cast<unsigned char>(text[at]);
    if (b >= 0xA1 && b <= 0xDF) return true;  // half-width kana
    if (size_at(text, at, length) != 2) return false;
    const unsigned c = code_at(text, at, length);
    return !is_digit_code(c) && !is_letter_code(c) && c != 0x8140;  // and no full-width space
}

bool is_alnum_char(const char* text, std::size_t at, std::size_t length) {
    const unsigned c = code_at(text, at, length);
    return is_digit_code(c) || is_letter_code(c);
}

SignReading read_sign(const char* text, std::size_t at, std::size_t length, bool after_text, bool after_alnum) {
    SignReading reading;
    const unsigned c = code_at(text, at, length);
    const std::size_t size = size_at(text, at, length);
    if (is_w_code(c) && after_text) {
        std::size_t end = at;
        while (end < length && is_w_code(code_at(text, end, length))) end += size_at(text, end, length);
        if (end < length && is_alnum_char(text, end, length)) return reading;  // a word: 笑ったwin
        reading.span = end - at;
        reading.laughter = true;
        return reading;
    }
    if (const char* unit = currency_unit(c)) {
        const std::size_t number = number_span(text, at + size, length);
        if (number == 0) return reading;
        reading.span = size + number;
        reading.replacement.assign(text + at + size, number);
        reading.replacement += unit;
        return reading;
    }
    if (const char* word = sign_word(c)) {
        // After a digit or letter it is an operator or a dash (10-20, a-1).
        if (after_alnum || at + size >= length || number_span(text, at + size, length) == 0) return reading;
        reading.span = size;
        reading.replacement = word;
    }
    return reading;
}

}  // namespace vokari
