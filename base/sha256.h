// SHA-256 of a byte stream, for files that must be exactly the ones the
// module was built for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vokari {

class Sha256 {
public:
    Sha256();
    void update(const unsigned char* bytes, std::size_t size);
    // The digest as 64 lower-case hex digits; the object is spent afterwards.
    std::string hex_digest();

private:
    void compress(const unsigned char* block);
    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> block_{};
    std::size_t block_used_ = 0;
    std::uint64_t total_bytes_ = 0;
};

}  // namespace vokari
