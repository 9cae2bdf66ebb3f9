// An ordered table of Shift_JIS strings together with their byte lengths.  The
// kana tables and the tag tables are all of this kind; the lengths are the
// comparison lengths used when a table entry is matched against a script.
// Tables and lengths are constants, measured by the compiler.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vokari {

// Bytes before the NUL of `text`.
constexpr std::int32_t measured_length(const char* text) {
    std::int32_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

// The byte lengths of N strings, measured at compile time.
template <std::size_t N>
struct MeasuredLengths {
    std::int32_t values[N] = {};
    constexpr explicit MeasuredLengths(const char* const (&strings)[N]) {
        for (std::size_t i = 0; i < N; ++i) values[i] = measured_length(strings[i]);
    }
};

struct StringTable {
    const char* const* strings;
    const std::int32_t* lengths;
    int count;

    // True when text[pos, length) begins with entry `index` (compared over the
    // entry's own length; text past `length` never matches).
    bool begins(int index, const char* text, std::int32_t pos, std::int32_t length) const {
        const std::int32_t size = lengths[index];
        if (size <= 0 || pos < 0 || size > length - pos) return false;
        const char* entry = strings[index];
        // Entries are a few bytes long: compared inline, first byte first.
        for (std::int32_t k = 0; k < size; ++k)
            if (text[pos + k] != entry[k]) return false;
        return true;
    }

    // The first entry in [first, last) that begins text[pos, length), or -1.
    int match(const char* text, std::int32_t pos, std::int32_t length, int first, int last) const {
        for (int i = first; i < last; ++i)
            if (begins(i, text, pos, length)) return i;
        return -1;
    }
    int match(const char* text, std::int32_t pos, std::int32_t length) const {
        return match(text, pos, length, 0, count);
    }
};

// The tag whose name follows a marker byte (the backslash or the tag prefix):
// a name of the table of bracketed tags, tried first, or else of the table of
// plain tags.
struct TagMatch {
    bool bracketed = false;
    int tag = -1;                  // index in its table; -1: no tag starts here
    std::int32_t name_length = 0;  // bytes of the name (a bracketed one ends in '[')

    bool found() const { return tag >= 0; }
};

// Matches the name after the marker at text[marker] against `bracketed`, then
// `plain`.
inline TagMatch match_tag(const StringTable& bracketed, const StringTable& plain, const char* text, std::int32_t marker,
                          std::int32_t length) {
    TagMatch found;
    found.tag = bracketed.match(text, marker + 1, length);
    found.bracketed = found.tag >= 0;
    if (!found.bracketed) found.tag = plain.match(text, marker + 1, length);
    if (found.tag >= 0) found.name_length = (found.bracketed ? bracketed : plain).lengths[found.tag];
    return found;
}

}  // namespace vokari
