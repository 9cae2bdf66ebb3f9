// The compiled analyser dictionary of a voice folder, checked before the
// analyser opens it: MeCab ends the process on some malformed files and reads
// the others unchecked, so every file must match the size and sum that
// "checksums" lists for it (written when the dictionary is compiled).
#pragma once

#include <cstdint>
#include <string>

namespace vokari {

// The sum of `size` bytes: 8-byte little-endian words (the tail zero-padded)
// mixed into the size.  `state` carries a sum over several calls: start
// with dictionary_sum_start(total size), feed whole words except at the end.
std::uint64_t dictionary_sum_start(std::uint64_t size);
std::uint64_t dictionary_sum_update(std::uint64_t state, const unsigned char* bytes, std::size_t size);

// Checks the folder `folder` (a native path without trailing separator).
// Returns "" when every listed file is there with its size and sum, else the
// reason in a few words ("sys.dic: size 12 instead of 35406622").
std::string check_dictionary_files(const std::string& folder);

}  // namespace vokari
