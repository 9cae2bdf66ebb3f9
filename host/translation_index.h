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

#include "host/translation_dictionary.h"

namespace vokari {

class TranslationIndex {
public:
    // Indexes the search texts of `pairs` (empty searches are left out, they
    // never change a text).
    void build(const std::vector<TranslationPair>& pairs);

    // The smallest pair number n >= `from` whose search text occurs in `text`
    // at the start of a Shift_JIS character (a lead byte as the last byte
    // counting as a character), or the number of pairs when there is none.
    std::size_t next_occurring(const std::string& text, std::size_t from) const;

private:
    // Key: up to the first 3 bytes of a search text, with their count.
    static std::uint32_t key(const char* bytes, std::size_t count);
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> by_prefix_;   // pair numbers, ascending
    const std::vector<TranslationPair>* pairs_ = nullptr;
    std::size_t size_ = 0;
};

// The index for `pairs` when they are many enough to gain from one, built or
// rebuilt when the list is not the one last indexed; null for a short list,
// which is faster to try pair by pair.
const TranslationIndex* translation_index_for(const std::vector<TranslationPair>& pairs);

}  // namespace vokari
