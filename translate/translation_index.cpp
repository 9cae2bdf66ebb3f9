// The translation index: the pairs grouped by the first bytes of their
// search texts, and the search for the next pair that occurs in a text.
#include "translate/translation_index.h"

#include <algorithm>
#include <cstring>

#include "base/shift_jis.h"

namespace vokari {

namespace {

constexpr std::size_t kKeyBytes = 3;
// Below this many pairs, trying every pair costs less than the lookups.
constexpr std::size_t kIndexedFrom = 512;

}  // namespace

std::uint32_t TranslationIndex::key(const char* bytes, std::size_t count) {
    std::uint32_t k = static_cast<std::uint32_t>(count) << 24;
    for (std::size_t i = 0; i < count; ++i)
        k |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return k;
}

void TranslationIndex::build(const TranslationDictionary& pairs) {
    // Built aside and moved in, so that running out of memory half-way
    // leaves the index inactive rather than half-filled.
    *this = TranslationIndex();
    if (pairs.size() < kIndexedFrom) return;
    TranslationIndex built;
    for (std::size_t n = 0; n < pairs.size(); ++n) {
        const std::string& search = pairs[n].search;
        if (search.empty()) continue;
        built.by_prefix_[key(search.data(), std::min(search.size(), kKeyBytes))].push_back(
            static_cast<std::uint32_t>(n));
    }
    built.indexed_pairs_ = pairs.size();
    *this = std::move(built);
}

std::size_t TranslationIndex::next_occurring(const TranslationDictionary& pairs, const std::string& text,
                                             std::size_t from) const {
    std::size_t best = pairs.size();
    const char* bytes = text.data();
    for (std::size_t pos = 0; pos < text.size(); pos += sjis_char_size(bytes, pos, text.size())) {
        const std::size_t left = text.size() - pos;
        for (std::size_t count = 1; count <= kKeyBytes && count <= left; ++count) {
            const auto found = by_prefix_.find(key(bytes + pos, count));
            if (found == by_prefix_.end()) continue;
            const std::vector<std::uint32_t>& numbers = found->second;
            for (auto n = std::lower_bound(numbers.begin(), numbers.end(), from); n != numbers.end() && *n < best;
                 ++n) {
                const std::string& search = pairs[*n].search;
                if (search.size() <= left && std::memcmp(bytes + pos, search.data(), search.size()) == 0) {
                    best = *n;
                    break;
                }
            }
        }
    }
    return best;
}

}  // namespace vokari
