// The kana tables looked up by the bytes of a character.
#include "translate/kana_index.h"

#include "translate/kana_tables.h"

namespace vokari {

KanaIndex hiragana_index;
KanaIndex katakana_index;
KanaIndex halfwidth_index;

namespace {

// `size` bytes (at most 4) and their count as one key.
std::uint64_t key_of(const char* bytes, std::int32_t size) {
    std::uint64_t key = static_cast<std::uint64_t>(size);
    for (std::int32_t k = 0; k < size; ++k) key = key << 8 | static_cast<unsigned char>(bytes[k]);
    return key;
}

}  // namespace

void KanaIndex::build(const StringTable& table) {
    slots_.clear();
    for (bool& present : has_length_) present = false;
    for (int slot = 0; slot < table.count; ++slot) {
        const std::int32_t size = table.lengths[slot];
        if (size < 1 || size > kLongestEntry) continue;
        // emplace keeps the first of equal entries, as a search in table order would.
        slots_.emplace(key_of(table.strings[slot], size), static_cast<std::int16_t>(slot));
        has_length_[size] = true;
    }
}

int KanaIndex::find(const char* text, std::int32_t pos, std::int32_t length, std::int32_t& entry_length) const {
    for (std::int32_t size = kLongestEntry; size >= 1; --size) {
        if (!has_length_[size] || size > length - pos) continue;
        const auto found = slots_.find(key_of(text + pos, size));
        if (found != slots_.end()) {
            entry_length = size;
            return found->second;
        }
    }
    return -1;
}

void build_kana_indices() {
    hiragana_index.build(hiragana_table);
    katakana_index.build(katakana_table);
    halfwidth_index.build(halfwidth_table);
}

}  // namespace vokari
