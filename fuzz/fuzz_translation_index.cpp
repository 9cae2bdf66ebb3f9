// Differential check of the translation index: a random dictionary (up to
// thousands of pairs over a small alphabet of ASCII, Shift_JIS lead and trail
// bytes, so that searches contain each other, overlap, straddle characters
// and are formed anew by replacements) is applied to a random text three
// ways: by the literal loop that restarts every search from the start of the
// text, by the rewriting without an index, and with the index.  All three
// must give the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "translate/translation_dictionary.h"
#include "translate/translation_index.h"
#include "support/fuzz_check.h"

using fuzz_support::require;

namespace {

// Bytes that decide matching: ASCII, a backslash (a trail byte too), the
// edges of the lead-byte ranges and of the trail bytes, half-width kana.
const unsigned char kAlphabet[] = {'a', 'b', '\\', 0x40, 0x80, 0x81, 0x82, 0x9F, 0xA0, 0xDF, 0xE0, 0xFC, 0xFD};

bool lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The first occurrence of `search` that starts a character (a lead byte as
// the last byte being a character of its own), walking from the start.
std::size_t find_at_character(const std::string& text, const std::string& search) {
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, search.size(), search) == 0) return i;
        i += lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return std::string::npos;
}

// The rewriting as first written: for each pair, find from the start,
// replace, start again; a pair gives up after as many replacements as the
// module allows.  False when the text grew too long to check this slowly.
bool literal_rewrite(const vokari::TranslationDictionary& pairs, std::string& text) {
    for (const vokari::TranslationPair& pair : pairs) {
        if (pair.search.empty()) continue;
        if (text.size() > 1024) return false;
        if (text.find(pair.search) == std::string::npos) continue;  // not even byte-wise: quick to tell
        const std::size_t limit = 16 * text.size() + 1024;
        for (std::size_t made = 0; made < limit; ++made) {
            const std::size_t at = find_at_character(text, pair.search);
            if (at == std::string::npos) break;
            text.replace(at, pair.search.size(), pair.replacement);
        }
    }
    return true;
}

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t below(std::uint32_t n) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return n == 0 ? 0 : state_ % n;
    }
    std::string letters(std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += static_cast<char>(kAlphabet[below(sizeof kAlphabet)]);
        return text;
    }

private:
    std::uint32_t state_;
};

// Searches of 1 to 4 bytes: fresh letters, a piece of the text, or a
// neighbour of an earlier search (one inside the other, or overlapping it).
// Replacements no longer than their search, except for a few pairs that
// grow the text by a byte, keep the texts short enough to check literally.
// A pair whose replacement holds its own search runs to the replacement
// limit: the loader leaves such pairs out, so only the first two pairs may be
// such, while the text is still short enough for the literal loop.
vokari::TranslationDictionary random_pairs(FuzzedDataProvider& data, const std::string& text, std::size_t count,
                                           Random& random) {
    vokari::TranslationDictionary pairs;
    const auto usable = [&pairs](const vokari::TranslationPair& pair) {
        return pair.search.empty() || pairs.size() < 2 ||
               find_at_character(pair.replacement, pair.search) == std::string::npos;
    };
    while (pairs.size() < count && data.remaining_bytes() > 2) {
        vokari::TranslationPair pair{data.ConsumeRandomLengthString(4), data.ConsumeRandomLengthString(4)};
        if (pair.search.find('\0') == std::string::npos && pair.replacement.find('\0') == std::string::npos &&
            usable(pair))
            pairs.push_back(pair);
    }
    std::size_t growing = 0;
    while (pairs.size() < count) {
        const std::size_t length = 1 + random.below(random.below(2) ? 2 : 4);
        std::string search;
        switch (random.below(4)) {
        case 0:
            if (text.size() >= length) {
                search = text.substr(random.below(static_cast<std::uint32_t>(text.size() - length + 1)), length);
                break;
            }
            [[fallthrough]];
        case 1:
            if (!pairs.empty()) {
                const std::string& earlier = pairs[random.below(static_cast<std::uint32_t>(pairs.size()))].search;
                search = random.below(2) ? earlier + random.letters(1) : earlier.substr(earlier.empty() ? 0 : 1);
                break;
            }
            [[fallthrough]];
        default: search = random.letters(length);
        }
        if (search.empty()) continue;
        std::size_t replacement_length = random.below(static_cast<std::uint32_t>(search.size()) + 1);
        const bool grows = growing < 2 && random.below(64) == 0;
        if (grows) replacement_length = search.size() + 1;
        const vokari::TranslationPair pair{search, random.letters(replacement_length)};
        if (!usable(pair)) continue;
        growing += grows ? 1 : 0;
        pairs.push_back(pair);
    }
    return pairs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Random random(data.ConsumeIntegral<std::uint32_t>());
    // Around the size from which the index is used, and far above it.
    const std::size_t count = data.ConsumeBool() ? data.ConsumeIntegralInRange<std::size_t>(500, 530)
                                                 : data.ConsumeIntegralInRange<std::size_t>(0, 4000);
    std::string text = data.ConsumeRandomLengthString(256);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    if (text.size() < 8) text += random.letters(64);
    const vokari::TranslationDictionary pairs = random_pairs(data, text, count, random);

    vokari::Settings settings{};
    vokari::TranslationIndex index;
    index.build(pairs);
    require(index.active() == (pairs.size() >= 512), "index active below its threshold or idle above it");

    std::string plain = text, indexed = text, literal = text;
    vokari::apply_translation(settings, pairs, plain);
    vokari::apply_translation(settings, pairs, indexed, &index);
    require(plain == indexed, "the index changed the result");
    if (literal_rewrite(pairs, literal)) require(literal == plain, "the result differs from the literal loop");
    return 0;
}
