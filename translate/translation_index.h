// A lookup of the translation pairs by the first bytes of their search texts,
// so that rewriting a script with thousands of pairs visits only the pairs
// that occur in it.  The pairs still apply one after another in dictionary
// order, each to the end of the text: the index only tells which pair is the
// next one that would change the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "translate/translation_dictionary.h"

namespace vokari {

class TranslationIndex {
public:
    // Indexes the search texts of `pairs` when they are many enough to gain
    // from it (empty searches are left out: they never change a text);
    // otherwise leaves the index inactive.  Built once per load, after the
    // last pair; a dictionary changed afterwards needs a new build.
    void build(const TranslationDictionary& pairs);

    // True when build found enough pairs to index.
    bool active() const { return indexed_pairs_ != 0; }

    // The smallest pair number n >= `from` of `pairs` (the list given to
    // build) whose search text occurs in `text` at the start of a Shift_JIS
    // character (a lead byte as the last byte counting as a character), or
    // pairs.size() when there is none.
    std::size_t next_occurring(const TranslationDictionary& pairs, const std::string& text, std::size_t from) const;

private:
    // Key: up to the first 3 bytes of a search text, with their count.
    static std::uint32_t key(const char* bytes, std::size_t count);
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> by_prefix_;  // pair numbers, ascending
    std::size_t indexed_pairs_ = 0;
};

}  // namespace vokari
