#include "host/translation_index.h"

#include <algorithm>
#include <cstring>

#include "host/request.h"

namespace vokari {

namespace {

constexpr std::size_t kKeyBytes = 3;
// Below this many pairs, trying every pair costs less than the lookups.
constexpr std::size_t kIndexedFrom = 512;

// What identifies the indexed list: its storage, its length and a sample of
// its pairs' sizes and first bytes.  A list refilled in place with other
// pairs differs in the sample.
struct Fingerprint {
    const void* data = nullptr;
    std::size_t size = 0;
    std::uint64_t sample = 0;
    bool operator==(const Fingerprint& other) const {
        return data == other.data && size == other.size && sample == other.sample;
    }
};

Fingerprint fingerprint_of(const std::vector<TranslationPair>& pairs) {
    Fingerprint f{pairs.data(), pairs.size(), 1469598103934665603ull};
    const std::size_t step = pairs.size() / 64 + 1;
    for (std::size_t i = 0; i < pairs.size(); i += step) {
        const TranslationPair& p = pairs[i];
        const std::uint64_t bits = p.search.size() * 131u + p.replacement.size() * 7u +
                                   (p.search.empty() ? 0u : static_cast<unsigned char>(p.search[0])) * 65599u +
                                   (p.replacement.empty() ? 0u : static_cast<unsigned char>(p.replacement.back()));
        f.sample = (f.sample ^ bits) * 1099511628211ull;
    }
    return f;
}

}  // namespace

std::uint32_t TranslationIndex::key(const char* bytes, std::size_t count) {
    std::uint32_t k = static_cast<std::uint32_t>(count) << 24;
    for (std::size_t i = 0; i < count; ++i) k |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return k;
}

void TranslationIndex::build(const std::vector<TranslationPair>& pairs) {
    by_prefix_.clear();
    for (std::size_t n = 0; n < pairs.size(); ++n) {
        const std::string& search = pairs[n].search;
        if (search.empty()) continue;
        by_prefix_[key(search.data(), std::min(search.size(), kKeyBytes))].push_back(static_cast<std::uint32_t>(n));
    }
    pairs_ = &pairs;
    size_ = pairs.size();
}

std::size_t TranslationIndex::next_occurring(const std::string& text, std::size_t from) const {
    std::size_t best = size_;
    const char* bytes = text.data();
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t left = text.size() - pos;
        for (std::size_t count = 1; count <= kKeyBytes && count <= left; ++count) {
            const auto found = by_prefix_.find(key(bytes + pos, count));
            if (found == by_prefix_.end()) continue;
            const std::vector<std::uint32_t>& numbers = found->second;
            for (auto n = std::lower_bound(numbers.begin(), numbers.end(), from); n != numbers.end() && *n < best; ++n) {
                const std::string& search = (*pairs_)[*n].search;
                if (search.size() <= left && std::memcmp(bytes + pos, search.data(), search.size()) == 0) {
                    best = *n;
                    break;
                }
            }
        }
        // Character by character, as find_from steps.
        pos += is_sjis_lead(static_cast<unsigned char>(bytes[pos])) && left >= 2 ? 2 : 1;
    }
    return best;
}

const TranslationIndex* translation_index_for(const std::vector<TranslationPair>& pairs) {
    static TranslationIndex index;
    static Fingerprint indexed;
    if (pairs.size() < kIndexedFrom) return nullptr;
    const Fingerprint now = fingerprint_of(pairs);
    if (!(now == indexed)) {
        index.build(pairs);
        indexed = now;
    }
    return &index;
}

}  // namespace vokari
