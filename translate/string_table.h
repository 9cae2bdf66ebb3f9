// An ordered table of Shift_JIS strings together with their byte lengths.  The
// kana tables and the tag tables are all of this kind; the lengths are the
// comparison lengths used when a table entry is matched against a script.
#pragma once

#include <cstdint>

namespace vokari {

struct StringTable {
    const char* const* strings;
    std::int32_t* lengths;   // measured by compute_table_lengths()
    int count;

    // True when text[pos, length) begins with entry `index` (compared over the
    // entry's own length; text past `length` never matches).
    bool begins(int index, const char* text, std::int32_t pos, std::int32_t length) const;

    // The first entry in [first, last) that begins text[pos, length), or -1.
    int match(const char* text, std::int32_t pos, std::int32_t length, int first, int last) const;
    int match(const char* text, std::int32_t pos, std::int32_t length) const {
        return match(text, pos, length, 0, count);
    }

    // Stores the byte length of every entry in `lengths`.
    void measure() const;
};

}  // namespace vokari
