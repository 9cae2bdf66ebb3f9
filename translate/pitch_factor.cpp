// The pitch factor of a number of pitch steps, alike to the bit in every build.
//
// 1.014546 ^ steps = exp(steps * ln 1.014546).  The product is formed exactly
// (Dekker's two-product, since the constant is known to 107 bits), and exp is
// the classic reduction x = k ln 2 + r with a rational approximation of exp(r)
// on |r| <= ln 2 / 2 that is accurate to within one unit in the last place.
// Only +, -, *, / and floor are used, with no fused operations, so the result
// does not depend on the C library or the processor.
#include "translate/pitch_factor.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace vokari {

namespace {

// ln(1.014546) (of the double nearest to it) as a sum of two doubles.
constexpr double kLogBaseHigh = 0x1.d935bfa62e4f6p-7;
constexpr double kLogBaseLow = -0x1.91a6b0f1142cdp-65;

constexpr double kLn2High = 6.93147180369123816490e-01;  // low 32 bits zero
constexpr double kLn2Low = 1.90821492927058770002e-10;
constexpr double kInvLn2 = 1.44269504088896338700e+00;
constexpr double kP1 = 1.66666666666666019037e-01;
constexpr double kP2 = -2.77777777770155933842e-03;
constexpr double kP3 = 6.61375632143793436117e-05;
constexpr double kP4 = -1.65339022054652515390e-06;
constexpr double kP5 = 4.13813679705723846039e-08;

// Beyond these exponents exp overflows to +inf or underflows to 0.
constexpr double kExpOverflow = 7.09782712893383973096e+02;
constexpr double kExpUnderflow = -7.45133219101941108420e+02;

// 2^e for -1022 <= e <= 1023, built from its bits.
double power_of_two(int e) {
    const std::uint64_t bits = static_cast<std::uint64_t>(e + 1023) << 52;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Splits a into a high part with 26 significant bits and the exact rest.
void split(double a, double& high, double& low) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    high = c - (c - a);
    low = a - high;
}

// exp(high + low) for |low| much smaller than |high|, inside the finite range.
double exp_of_sum(double high, double low) {
    const double k = std::floor(high * kInvLn2 + 0.5);
    const double reduced_high = high - k * kLn2High;
    const double reduced_low = k * kLn2Low - low;
    const double r = reduced_high - reduced_low;
    const double t = r * r;
    const double c = r - t * (kP1 + t * (kP2 + t * (kP3 + t * (kP4 + t * kP5))));
    const double y = 1.0 - ((reduced_low - (r * c) / (2.0 - c)) - reduced_high);
    // Scale by 2^k in two exact halves, so that only the last step can round
    // (into the subnormal range).
    const int e = static_cast<int>(k);
    const int half = e / 2;
    return y * power_of_two(half) * power_of_two(e - half);
}

}  // namespace

double pitch_factor(double steps) {
    if (steps != steps) return steps;
    // |steps| beyond 60000 puts steps * ln 1.014546 beyond +-866.
    if (steps > 60000.0) return std::numeric_limits<double>::infinity();
    if (steps < -60000.0) return 0.0;
    // steps * ln(base) as product + error, exactly, plus the low constant part.
    double steps_high, steps_low, base_high, base_low;
    split(steps, steps_high, steps_low);
    split(kLogBaseHigh, base_high, base_low);
    const double product = steps * kLogBaseHigh;
    const double error =
        ((steps_high * base_high - product) + steps_high * base_low + steps_low * base_high) + steps_low * base_low;
    const double low = error + steps * kLogBaseLow;
    if (product > kExpOverflow) return std::numeric_limits<double>::infinity();
    if (product < kExpUnderflow) return 0.0;
    return exp_of_sum(product, low);
}

}  // namespace vokari
