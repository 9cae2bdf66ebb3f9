// Replacing a text's leftmost occurrence of a search text, again and again,
// each time as if the search restarted at the start of the text, so that an
// occurrence formed by a replacement together with the text around it is
// replaced as well.  Time grows with the text's length and the number of
// replacements, not with their product.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vokari {

enum class MatchStart {
    AnyByte,            // a byte-wise search
    CharacterBoundary,  // Shift_JIS: never on the second byte of a character
};

// Rewrites `text` until `search` (not empty) no longer occurs or
// `max_replacements` replacements have been made; returns false in the latter
// case.  `replacement` must not itself contain `search` where a character
// starts (see contains_at_character_start), or the rewriting would not end.
// With CharacterBoundary a lead byte as the text's last byte ends the search,
// as it does for find_from.
// `marks`, when given, holds a number per byte of `text` (-1: none) and
// comes back with the rewritten text's: each byte keeps its own, and a
// replacement's first byte takes the first of the bytes it replaced.
bool replace_repeatedly(std::string& text, const std::string& search, const std::string& replacement, MatchStart start,
                        std::size_t max_replacements, std::vector<std::int32_t>* marks = nullptr);

// True when `search` occurs in `text` at the start of one of its characters,
// a lead byte as the last byte counting as a character.
bool contains_at_character_start(const std::string& text, const std::string& search);

}  // namespace vokari
