// Bracketed tag arguments: from the '[' of a tag to its matching ']', with
// nested brackets belonging to the argument.  The brackets are looked for
// character by character in Shift_JIS, so a '[' or ']' byte that is the second
// byte of a double-byte character (as in the long-vowel bar 0x81 0x5B) is
// never taken for one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vokari {

// Finds matching brackets in one unchanging text.  The match of every '['
// met on the way is remembered, so that a script of many tags, nested or
// unclosed, costs time in proportion to its length however the tags fail.
class BracketMatcher {
public:
    BracketMatcher(const char* text, std::int32_t length) : text_(text), length_(length) {}

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
    std::vector<std::int32_t> closes_;  // per byte: kUnknown, -1 or the close
};

// `text` + `p` points at a '['; `end` is the text's length.  Returns the byte
// count from '[' through its matching ']' and stores the bytes between them in
// `out`, or returns -1.  A scan of many tags uses one BracketMatcher for the
// whole text instead.
int extract_tag_argument(const char* text, int p, int end, std::string& out);

}  // namespace vokari
