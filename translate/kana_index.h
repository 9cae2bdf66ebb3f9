// Direct lookup of the kana tables for the scanner: instead of trying the
// entries of a table one by one, the bytes at the scan position are looked up
// as a whole, longest first.  In these tables that gives the same slot as
// trying the entries in table order: contracted sounds are the longest
// entries, and entries of the same length never begin the same text.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "translate/string_table.h"

namespace vokari {

class KanaIndex {
public:
    // Indexes the measured entries of `table`.
    void build(const StringTable& table);

    // The slot of the longest entry that begins text[pos, length), or -1;
    // `entry_length` receives its byte length.
    int find(const char* text, std::int32_t pos, std::int32_t length, std::int32_t& entry_length) const;

private:
    static constexpr int kLongestEntry = 4;
    std::unordered_map<std::uint64_t, std::int16_t> slots_;   // key: length and bytes
    bool has_length_[kLongestEntry + 1] = {};
};

extern KanaIndex hiragana_index;
extern KanaIndex katakana_index;
extern KanaIndex halfwidth_index;

// Builds the three indices from the measured kana tables (compute_table_lengths).
void build_kana_indices();

}  // namespace vokari
