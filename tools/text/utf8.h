// Reading UTF-8: one character at a time, where a text stops being UTF-8,
// whether it holds kanji, and katakana made hiragana and back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vokari {
namespace text {

// Decodes the character at text[pos] into `code` and moves `pos` past it.
// Returns false, leaving `pos` where it was, when the bytes there are not
// well-formed UTF-8: a stray continuation byte, a truncated sequence, an
// overlong form, a surrogate or a value past U+10FFFF.
bool next_utf8(const std::string& text, std::size_t& pos, char32_t& code);

// Byte offset of the first byte of `bytes` that is not part of well-formed
// UTF-8, or nothing when all of it is UTF-8.
std::optional<std::size_t> first_invalid_utf8(const std::string& bytes);

// Bytes of the character at text[pos]: its length when it is well-formed
// UTF-8, else 1 (a stray byte stands alone).
std::size_t utf8_step(const std::string& text, std::size_t pos);

// Kanji: the CJK ideographs (the unified blocks with their extensions, the
// compatibility ideographs) and the marks written in their place: the
// repetition mark, the shime mark and the small ke of counters.
bool is_kanji(char32_t code);
// Whether `utf8` holds a kanji; bytes that are not UTF-8 are stepped over.
bool holds_kanji(const std::string& utf8);

// Full-width katakana (U+30A1 to U+30F6) turned into hiragana, and hiragana
// (U+3041 to U+3096) into katakana; other characters, and bytes that are not
// UTF-8, unchanged.
std::string katakana_to_hiragana(const std::string& utf8);
std::string hiragana_to_katakana(const std::string& utf8);

}  // namespace text
}  // namespace vokari
