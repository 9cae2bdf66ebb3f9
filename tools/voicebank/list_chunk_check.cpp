// Follows a list's entries the way libsndfile reads them: entry names of
// four bytes, each but the list types with a 32-bit length, padded to even.
#include "list_chunk_check.h"

#include <cstdint>
#include <cstring>

namespace vokari {
namespace voicebank {
namespace {

// A 32-bit number, little-endian but in RIFX files.
std::uint32_t u32_at(const std::string& bytes, std::size_t at, bool big_endian) {
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return big_endian ? byte(3) | byte(2) << 8 | byte(1) << 16 | byte(0) << 24
                      : byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

bool name_at(const std::string& bytes, std::size_t at, const char* name) { return bytes.compare(at, 4, name, 4) == 0; }

// The list whose name is at `at`: true when an entry's length wraps the
// count of bytes read.
bool list_loops(const std::string& bytes, std::size_t at, bool big_endian) {
    const std::size_t start = at + 8;
    std::uint32_t length = u32_at(bytes, at + 4, big_endian);
    // libsndfile skips lists of eight bytes or fewer unread, and reads no
    // further than the end of the file.
    if (length <= 8) return false;
    if (length > bytes.size() - start) length = static_cast<std::uint32_t>(bytes.size() - start);
    std::uint64_t read = 0;
    while (read < length && start + read + 4 <= bytes.size()) {
        const std::size_t entry = start + static_cast<std::size_t>(read);
        read += 4;
        if (name_at(bytes, entry, "INFO") || name_at(bytes, entry, "adtl")) continue;
        if (name_at(bytes, entry, "data") || u32_at(bytes, entry, big_endian) == 0) return false;
        if (entry + 8 > bytes.size()) return false;
        std::uint32_t size = u32_at(bytes, entry + 4, big_endian);
        size += size & 1;  // in 32 bits, as libsndfile pads it
        read += 4;
        if (read + size > UINT32_MAX) return true;
        if (read + size > length) return false;
        read += size;
    }
    return false;
}

}  // namespace

bool has_looping_list_chunk(const std::string& bytes) {
    if (bytes.size() < 12 || !name_at(bytes, 8, "WAVE")) return false;
    const bool big_endian = name_at(bytes, 0, "RIFX");
    if (!big_endian && !name_at(bytes, 0, "RIFF") && !name_at(bytes, 0, "RF64")) return false;
    for (std::size_t at = 12; at + 8 <= bytes.size(); ++at) {
        if ((name_at(bytes, at, "LIST") || name_at(bytes, at, "INFO")) && list_loops(bytes, at, big_endian))
            return true;
    }
    return false;
}

}  // namespace voicebank
}  // namespace vokari
