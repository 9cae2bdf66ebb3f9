// Matching brackets of tag arguments.
//
// The bracket search of a tag walks the text character by character from the
// byte after its '[' with a depth that starts at 1: each '[' adds one, each ']'
// takes one away, and the ']' that brings the depth to 0 closes the tag.  A
// walk that reaches the end of the text, or a Shift_JIS lead byte as the
// text's last byte, finds no close.  Walking past a nested '[' is the same as jumping past
// that bracket's own close, so every close found (or not found) is remembered
// per '[' and a later walk that meets the same '[' jumps at once.
#include "base/bracket_matcher.h"

#include "base/shift_jis.h"

namespace vokari {

namespace {
constexpr std::int32_t kUnknown = -2;
}

std::int32_t BracketMatcher::remembered(std::int32_t open) const {
    return closes_.empty() ? kUnknown : closes_[static_cast<std::size_t>(open)];
}

void BracketMatcher::remember(std::int32_t open, std::int32_t close) {
    if (closes_.empty()) closes_.assign(static_cast<std::size_t>(length_), kUnknown);
    closes_[static_cast<std::size_t>(open)] = close;
}

std::int32_t BracketMatcher::matching_close(std::int32_t open) {
    const std::int32_t known = remembered(open);
    if (known != kUnknown) return known;
    std::vector<std::int32_t> unclosed{open};  // the '[' still open on this walk
    std::int32_t i = open + 1;
    while (i < length_) {
        const unsigned char c = static_cast<unsigned char>(text_[i]);
        if (c == '[') {
            const std::int32_t close = remembered(i);
            if (close == -1) break;
            if (close == kUnknown) {
                unclosed.push_back(i++);
            } else {
                i = close + 1;
            }
        } else if (c == ']') {
            remember(unclosed.back(), i);
            unclosed.pop_back();
            if (unclosed.empty()) return i;
            ++i;
        } else if (encoding_ == TextEncoding::Utf8) {
            ++i;  // no byte of a longer UTF-8 character is a bracket
        } else {
            i += static_cast<std::int32_t>(
                sjis_char_size(text_, static_cast<std::size_t>(i), static_cast<std::size_t>(length_)));
        }
    }
    for (std::int32_t never_closed : unclosed) remember(never_closed, -1);
    return -1;
}

std::int32_t BracketMatcher::extract(std::int32_t p, std::string& out) {
    if (length_ - p < 3) return -1;
    const std::int32_t close = matching_close(p);
    if (close < 0) return -1;
    out.assign(text_ + p + 1, text_ + close);
    return close - p + 1;
}

}  // namespace vokari
