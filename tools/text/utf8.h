// Reading UTF-8: one character at a time, and where a text stops being UTF-8.
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

}  // namespace text
}  // namespace vokari
