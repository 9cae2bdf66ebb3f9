// Direct lookup of the kana tables for the scanner: instead of trying the
// entries of a table one by one, the bytes at the scan position are looked up
// as a whole, longest first.  In these tables that gives the same slot as
// trying the entries in table order: contracted sounds are the longest
// entries, and entries of the same length never begin the same text.  The
// indices are built by the compiler.
#pragma once

#include <cstdint>

#include "base/string_table.h"
#include "vokari_voice_format.h"

namespace vokari {

class KanaIndex {
public:
    // Indexes the entries of `table` (at most kSlotCount) by their bytes.
    constexpr explicit KanaIndex(const StringTable& table) {
        for (int slot = 0; slot < table.count && slot < kSlotCount; ++slot) {
            const std::int32_t size = table.lengths[slot];
            if (size < 1 || size > kLongestEntry) continue;
            insert(key_of(table.strings[slot], size), static_cast<std::int16_t>(slot));
            has_length_[size] = true;
        }
    }

    // The slot of the longest entry that begins text[pos, length), or -1;
    // `entry_length` receives its byte length.
    int find(const char* text, std::int32_t pos, std::int32_t length, std::int32_t& entry_length) const {
        for (std::int32_t size = kLongestEntry; size >= 1; --size) {
            if (!has_length_[size] || size > length - pos) continue;
            const int slot = slot_of(key_of(text + pos, size));
            if (slot >= 0) {
                entry_length = size;
                return slot;
            }
        }
        return -1;
    }

private:
    static constexpr int kLongestEntry = 4;
    // An open-addressing hash table, a few times larger than the entries, so
    // that a lookup mostly looks at one bucket.
    static constexpr int kBucketBits = 9;
    static constexpr int kBuckets = 1 << kBucketBits;

    struct Entry {
        std::uint64_t key = 0;  // length and bytes; 0: empty (no key is 0)
        std::int16_t slot = 0;
    };

    // `size` bytes (at most 4) and their count as one key.
    static constexpr std::uint64_t key_of(const char* bytes, std::int32_t size) {
        std::uint64_t key = static_cast<std::uint64_t>(size);
        for (std::int32_t k = 0; k < size; ++k) key = key << 8 | static_cast<unsigned char>(bytes[k]);
        return key;
    }

    static constexpr int bucket_of(std::uint64_t key) {
        return static_cast<int>((key * 0x9E3779B97F4A7C15ull) >> (64 - kBucketBits));
    }

    // The first of equal keys stays, as a search in table order would find it.
    constexpr void insert(std::uint64_t key, std::int16_t slot) {
        int at = bucket_of(key);
        while (entries_[at].key != 0) {
            if (entries_[at].key == key) return;
            at = (at + 1) & (kBuckets - 1);
        }
        entries_[at].key = key;
        entries_[at].slot = slot;
    }

    int slot_of(std::uint64_t key) const {
        for (int at = bucket_of(key);; at = (at + 1) & (kBuckets - 1)) {
            if (entries_[at].key == key) return entries_[at].slot;
            if (entries_[at].key == 0) return -1;
        }
    }

    Entry entries_[kBuckets] = {};
    bool has_length_[kLongestEntry + 1] = {};
};

extern const KanaIndex hiragana_index;
extern const KanaIndex katakana_index;
extern const KanaIndex halfwidth_index;

}  // namespace vokari
