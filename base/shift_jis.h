// Shift_JIS characters.  Every text of the module is Shift_JIS bytes, walked
// character by character with one of two rules:
//  - the lead-byte rule of every search, path and configuration text: a byte
//    0x81-0x9F or 0xE0-0xFC starts a two-byte character, every other byte is
//    a character of its own (is_sjis_lead, sjis_char_size);
//  - the rule of the script scanner and of the reply's displayed characters:
//    every byte from 0x80 outside the half-width katakana 0xA1-0xDF starts a
//    two-byte character, so 0x80, 0xA0 and 0xFD-0xFF do as well
//    (starts_script_pair).
#pragma once

#include <cstddef>

namespace vokari {

// True when byte b starts a two-byte Shift_JIS character (0x81-0x9F, 0xE0-0xFC).
constexpr bool is_sjis_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// True when byte b may follow a lead byte (0x40-0x7E, 0x80-0xFC).
constexpr bool is_sjis_trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Bytes of the character that starts at text[i] in a text of `length` bytes:
// 2 for a lead byte with a byte after it, else 1 (a lead byte as the last byte
// is a character of its own).
inline std::size_t sjis_char_size(const char* text, std::size_t i, std::size_t length) {
    return is_sjis_lead(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
}

// True when byte b of a script starts a two-byte character for the scanner
// and the reply: 0x80-0xA0 or 0xE0-0xFF.
constexpr bool starts_script_pair(unsigned char b) { return b >= 0x80 && !(b >= 0xA1 && b <= 0xDF); }

}  // namespace vokari
