// Pairs that read numbers aloud: ASCII or full-width digit strings followed
// by a counter (3時 -> さんじ, 10分 -> じゅっぷん) up to 99,999, and full-width
// digit strings on their own.
//
// A number is read from its last digit to its first.  The counter and the
// last digit become their reading, and a marker character after the digit to
// their left tells the next pairs which place (tens, hundreds, ...) that digit
// holds; each later pair turns one more digit into its reading and moves the
// marker one digit to the left.  The first digit of a number always stays in
// the spoken text in front of the reading (an ASCII digit is a moment of
// silence), so a digit that belongs to a tag such as \1, \w5 or \s3 is never
// taken away from it.  Searches never consist of ASCII digits alone.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace readings {

struct Pair {
    std::string search;       // UTF-8
    std::string replacement;  // UTF-8
};

// Every counter the number pairs know, e.g. "時", "分", "時間".
std::vector<std::string> known_counters();

// The number pairs for `counters` (a subset of known_counters(); an unknown
// one is ignored), in the order they must be applied.  With
// `fullwidth_numbers`, full-width digit strings are read as well, with or
// without a counter after them.
std::vector<Pair> number_pairs(const std::vector<std::string>& counters, bool fullwidth_numbers);

}  // namespace readings
}  // namespace vokari
