// Bracketed tag arguments: from the '[' of a tag to its matching ']', with
// nested brackets belonging to the argument.  The brackets are looked for
// character by character, in Shift_JIS by its lead bytes, so a '[' or ']' byte
// that is the second byte of a double-byte character (as in the long-vowel bar
// 0x81 0x5B) is never taken for one; or in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vokari {

enum class TextEncoding : std::uint8_t { ShiftJis, Utf8 };

// Bytes of the UTF-8 character whose first byte is `lead` (1 for a byte that
// starts none).
constexpr std::int32_t utf8_sequence_length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    return 1;
}

// Finds matching brackets in one unchanging text.  The match of every '['
// met on the way is remembered, so that a script of many tags, nested or
// unclosed, costs time in proportion to its length however the tags fail.
class BracketMatcher {
public:
    BracketMatcher(const char* text, std::int32_t length, TextEncoding encoding = TextEncoding::ShiftJis)
        : text_(text), length_(length), encoding_(encoding) {}

    // `p` is the index of a '['.  Returns the byte count from that '[' through
    // its matching ']' inclusive and stores the bytes between them in `out`;
    // returns -1 (out untouched) when fewer than 3 bytes remain from `p` or
    // when the bracket is never closed.
    std::int32_t extract(std::int32_t p, std::string& out);

private:
    // Index of the ']' that closes the '[' at `open`, or -1.
    std::int32_t matching_close(std::int32_t open);
    std::int32_t remembered(std::int32_t open) const;
    void remember(std::int32_t open, std::int32_t close);

    const char* text_;
    std::int32_t length_;
    TextEncoding encoding_;
    std::vector<std::int32_t> closes_;  // per byte: kUnknown, -1 or the close
};

}  // namespace vokari
