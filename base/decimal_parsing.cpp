// string_to_double: the C atof of decimal text, rounded correctly to the
// nearest double with exact integer arithmetic, so that every build reads the
// same bits from the same text whatever its C runtime does.
#include "base/decimal_parsing.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/text_routines.h"

namespace vokari {

namespace {

// Digits beyond this many significant ones cannot change the rounding of a
// double; they are folded into one sticky digit.
constexpr int kMaxDigits = 800;

// An unsigned integer of any size, 32-bit limbs, least significant first.
class BigInt {
public:
    explicit BigInt(std::uint32_t value = 0) {
        if (value != 0) limbs_.push_back(value);
    }

    void multiply_add(std::uint32_t factor, std::uint32_t addend) {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    void shift_left(int bits) {
        if (limbs_.empty() || bits <= 0) return;
        const std::size_t whole = static_cast<std::size_t>(bits / 32);
        const int part = bits % 32;
        if (part != 0) {
            std::uint32_t carry = 0;
            for (std::uint32_t& limb : limbs_) {
                const std::uint32_t next = limb >> (32 - part);
                limb = (limb << part) | carry;
                carry = next;
            }
            if (carry != 0) limbs_.push_back(carry);
        }
        limbs_.insert(limbs_.begin(), whole, 0u);
    }

    void shift_right_one() {
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            const std::uint32_t high = i + 1 < limbs_.size() ? limbs_[i + 1] << 31 : 0u;
            limbs_[i] = (limbs_[i] >> 1) | high;
        }
        trim();
    }

    // this -= other; requires this >= other.
    void subtract(const BigInt& other) {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            std::int64_t difference =
                static_cast<std::int64_t>(limbs_[i]) - borrow - (i < other.limbs_.size() ? other.limbs_[i] : 0u);
            borrow = difference < 0 ? 1 : 0;
            if (difference < 0) difference += std::int64_t{1} << 32;
            limbs_[i] = static_cast<std::uint32_t>(difference);
        }
        trim();
    }

    int compare(const BigInt& other) const {
        if (limbs_.size() != other.limbs_.size()) return limbs_.size() < other.limbs_.size() ? -1 : 1;
        for (std::size_t i = limbs_.size(); i-- > 0;)
            if (limbs_[i] != other.limbs_[i]) return limbs_[i] < other.limbs_[i] ? -1 : 1;
        return 0;
    }

    int bit_length() const {
        if (limbs_.empty()) return 0;
        int bits = static_cast<int>(limbs_.size() - 1) * 32;
        for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1) ++bits;
        return bits;
    }

    bool is_zero() const { return limbs_.empty(); }

private:
    void trim() {
        while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    }
    std::vector<std::uint32_t> limbs_;
};

BigInt power_of_ten(int exponent) {
    BigInt result(1);
    for (; exponent >= 9; exponent -= 9) result.multiply_add(1000000000u, 0);
    for (; exponent > 0; --exponent) result.multiply_add(10u, 0);
    return result;
}

BigInt from_digits(const std::string& digits) {
    BigInt result;
    for (char digit : digits) result.multiply_add(10u, static_cast<std::uint32_t>(digit - '0'));
    return result;
}

double from_bits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The double nearest to numerator / denominator (both non-zero), ties to even.
double nearest_double(BigInt numerator, BigInt denominator) {
    // Scale so that the quotient q lies in [2^63, 2^64): value = q * 2^-scale.
    int scale = 64 - (numerator.bit_length() - denominator.bit_length());
    if (scale > 0) numerator.shift_left(scale);
    else denominator.shift_left(-scale);
    BigInt top = denominator;
    top.shift_left(64);
    if (numerator.compare(top) >= 0) {
        denominator.shift_left(1);
        --scale;
    }
    BigInt bottom = denominator;
    bottom.shift_left(63);
    if (numerator.compare(bottom) < 0) {
        numerator.shift_left(1);
        ++scale;
        bottom = denominator;
        bottom.shift_left(63);
    }
    std::uint64_t quotient = 0;
    for (int bit = 63; bit >= 0; --bit) {
        if (numerator.compare(bottom) >= 0) {
            numerator.subtract(bottom);
            quotient |= std::uint64_t{1} << bit;
        }
        bottom.shift_right_one();
    }
    const bool sticky = !numerator.is_zero();

    // The value lies in [2^exponent, 2^(exponent+1)).
    const int exponent = 63 - scale;
    if (exponent > 1023) return from_bits(0x7FF0000000000000ull);
    // Bits of the quotient dropped to fit 53 bits, or fewer below 2^-1022.
    const int drop = exponent >= -1022 ? 11 : 11 + (-1022 - exponent);
    if (drop > 64) return 0.0;
    std::uint64_t kept = drop == 64 ? 0 : quotient >> drop;
    const std::uint64_t rest = drop == 64 ? quotient : quotient & ((std::uint64_t{1} << drop) - 1);
    const std::uint64_t half = std::uint64_t{1} << (drop - 1);
    if (rest > half || (rest == half && (sticky || (kept & 1) != 0))) ++kept;

    if (exponent < -1022) return from_bits(kept);  // a subnormal (or the smallest normal)
    int biased = exponent + 1023;
    if (kept == (std::uint64_t{1} << 53)) {
        kept >>= 1;
        ++biased;
    }
    if (biased >= 2047) return from_bits(0x7FF0000000000000ull);
    return from_bits((static_cast<std::uint64_t>(biased) << 52) | (kept & ((std::uint64_t{1} << 52) - 1)));
}

}  // namespace

// Reads `text` like the C atof, for decimal text only: leading white space, an
// optional sign, digits with at most one decimal point (at least one digit),
// then optionally 'e' or 'E', a sign and digits.  Reading stops at the first
// byte that does not fit; text without a leading number gives 0.0.  Overflow
// gives an infinity of the sign, underflow 0.0, as atof does.
double string_to_double(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';

    std::string digits;      // significant digits, no leading zeros
    long long exponent = 0;  // value = digits * 10^exponent
    bool any_digit = false;
    bool dropped_nonzero = false;
    bool after_point = false;
    for (;; ++p) {
        if (*p == '.' && !after_point) {
            after_point = true;
            continue;
        }
        if (*p < '0' || *p > '9') break;
        any_digit = true;
        if (after_point) --exponent;
        if (digits.empty() && *p == '0') continue;
        if (static_cast<int>(digits.size()) < kMaxDigits) {
            digits.push_back(static_cast<char>(*p));
        } else {
            ++exponent;
            if (*p != '0') dropped_nonzero = true;
        }
    }
    if (!any_digit) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const unsigned char* q = p + 1;
        bool exponent_negative = false;
        if (*q == '+' || *q == '-') exponent_negative = *q++ == '-';
        if (*q >= '0' && *q <= '9') {
            // Saturates far beyond any text's length, so that an exponent
            // cancelling a long run of digits still cancels it.
            long long written = 0;
            for (; *q >= '0' && *q <= '9'; ++q)
                if (written < 100000000000000000LL) written = written * 10 + (*q - '0');
            exponent += exponent_negative ? -written : written;
        }
    }
    const double zero = negative ? -0.0 : 0.0;
    if (digits.empty()) return zero;
    if (dropped_nonzero) {
        digits.push_back('1');
        --exponent;
    }
    // Beyond these bounds the value is certainly infinite or rounds to zero.
    const long long magnitude = static_cast<long long>(digits.size()) + exponent;
    if (magnitude > 310) return negative ? -from_bits(0x7FF0000000000000ull) : from_bits(0x7FF0000000000000ull);
    if (magnitude < -330) return zero;

    BigInt numerator;
    BigInt denominator(1);
    if (exponent >= 0) {
        numerator = from_digits(digits + std::string(static_cast<std::size_t>(exponent), '0'));
    } else {
        numerator = from_digits(digits);
        denominator = power_of_ten(static_cast<int>(-exponent));
    }
    const double magnitude_value = nearest_double(numerator, denominator);
    return negative ? -magnitude_value : magnitude_value;
}

}  // namespace vokari
