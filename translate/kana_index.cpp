// The kana tables looked up by the bytes of a character.
#include "translate/kana_index.h"

namespace vokari {

// The slot of the entry whose key is `key`, found by binary search, or -1.
int find_entry(const KanaIndex& index, std::uint64_t key) {
    int low = 0;
    int high = index.count_;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (index.entries_[middle].key < key) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low < index.count_ && index.entries_[low].key == key ? index.entries_[low].slot : -1;
}

int KanaIndex::find(const char* text, std::int32_t pos, std::int32_t length, std::int32_t& entry_length) const {
    for (std::int32_t size = kLongestEntry; size >= 1; --size) {
        if (!has_length_[size] || size > length - pos) continue;
        const int slot = find_entry(*this, key_of(text + pos, size));
        if (slot >= 0) {
            entry_length = size;
            return slot;
        }
    }
    return -1;
}

}  // namespace vokari
