// Character-level helpers for the reading-dictionary builder: the character
// classes that decide which words get a reading.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/text/utf8.h"

namespace vokari {
namespace readings {

// UTF-8 decoding and the kanji test, shared with the other tools.
using vokari::text::holds_kanji;
using vokari::text::is_kanji;
using vokari::text::katakana_to_hiragana;
using vokari::text::next_utf8;

// A line of the EDRDG dictionaries (EUC-JP) in, UTF-8 out; empty when the
// line is not EUC-JP.
std::string euc_jp_to_utf8(const std::string& line);

// The lines of the EDRDG dictionary file at `path` in UTF-8; false, with a
// message naming the Debian package `package` in `error`, when it cannot be
// read.
bool read_euc_jp_lines(const std::string& path, const char* package, std::vector<std::string>& lines,
                       std::string& error);

bool is_hiragana(char32_t code);
bool is_katakana(char32_t code);  // full-width, with the long-vowel mark
// True when every character is hiragana or full-width katakana.
bool is_all_kana(const std::string& utf8);
// Number of characters of a valid UTF-8 text.
std::size_t character_count(const std::string& utf8);

}  // namespace readings
}  // namespace vokari
