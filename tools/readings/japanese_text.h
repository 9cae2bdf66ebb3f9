// Character-level helpers for the reading-dictionary builder: UTF-8 decoding,
// the encoding test of an input file, Shift_JIS (code page 932) conversion,
// and the character classes that decide which words get a reading.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace readings {

// Decodes the UTF-8 character at text[pos]; advances pos past it.  Returns
// false (pos unchanged) on an invalid or truncated sequence.
bool next_utf8(const std::string& text, std::size_t& pos, char32_t& code);

// Byte offset of the first byte that is not valid UTF-8, or nothing.
std::optional<std::size_t> first_invalid_utf8(const std::string& bytes);
// Byte offset of the first byte that is not valid Shift_JIS (code page 932),
// or nothing.
std::optional<std::size_t> first_invalid_shift_jis(const std::string& bytes);

// Converts between UTF-8 and code page 932; nothing when a character has no
// counterpart in the target encoding.
std::optional<std::string> utf8_to_shift_jis(const std::string& utf8);
std::optional<std::string> shift_jis_to_utf8(const std::string& sjis);

// Kanji, including the repetition mark and the small ke used in counters.
bool is_kanji(char32_t code);
bool is_hiragana(char32_t code);
bool is_katakana(char32_t code);   // full-width, with the long-vowel mark
bool holds_kanji(const std::string& utf8);
// True when every character is hiragana or full-width katakana.
bool is_all_kana(const std::string& utf8);
// Full-width katakana turned into hiragana; other characters unchanged.
std::string katakana_to_hiragana(const std::string& utf8);
// Number of characters of a valid UTF-8 text.
std::size_t character_count(const std::string& utf8);

}  // namespace readings
