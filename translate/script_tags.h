// The host's backslash tags: the names that may follow a backslash, and what
// the scanner does with them.  The tags stay in the reply; the wait insertion
// uses the same tables to find them again.
#pragma once

#include <cstdint>

#include "translate/string_table.h"

namespace vokari {

// Tags with a bracketed argument, tried first.  Every one is skipped with its
// argument; "_w[" also pauses for the argument's milliseconds.
extern const StringTable script_bracket_tags;
constexpr int kScriptWaitArgumentTag = 10;   // "_w["

// Tags without an argument.
extern const StringTable script_plain_tags;
enum ScriptPlainTag {
    kEscapedBackslash = 0,   // "\\": one character of silence
    kMainSpeakerTag = 1,     // "0"
    kPartnerSpeakerTag = 2,  // "1"
    kDigitWaitTag = 10,      // "w" and a digit: 50 ms per unit
    kDigitSpeedTag = 14,     // "s" and a digit: skipped
};

// The digit 0..9 at text[pos] that the tags "w" and "s" take, or -1.
inline int digit_at(const char* text, std::int32_t pos, std::int32_t length) {
    return pos < length && text[pos] >= '0' && text[pos] <= '9' ? text[pos] - '0' : -1;
}

}  // namespace vokari
