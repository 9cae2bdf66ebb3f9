// Scan times in milliseconds are kept in 64 bits.  Tag arguments ("s[", "_w[")
// take any 32-bit value, so sums of them are held within +-2^61: far beyond any
// real script, and never near an overflow.
#pragma once

#include <cstdint>
#include <limits>

namespace vokari {

constexpr std::int64_t kTimeLimit = std::int64_t{1} << 61;

inline std::int64_t clamp_time(std::int64_t value) {
    return value > kTimeLimit ? kTimeLimit : value < -kTimeLimit ? -kTimeLimit : value;
}

// a + b, both first held within the limit, the sum held within it again.
inline std::int64_t add_time(std::int64_t a, std::int64_t b) { return clamp_time(clamp_time(a) + clamp_time(b)); }

// The nearest int32 to `value`.
inline std::int32_t saturate_to_int32(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < low ? low : value > high ? high : value);
}

}  // namespace vokari
