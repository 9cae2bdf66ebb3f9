// string_to_double must give the correctly rounded double for every decimal
// text (so both builds agree bit for bit); glibc's strtod is correctly rounded
// and serves as the reference here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "host/request.h"
#include "base/text_routines.h"

namespace {

std::uint64_t bits_of(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void expect_like_strtod(const std::string& text) {
    EXPECT_EQ(bits_of(vokari::string_to_double(text.c_str())), bits_of(std::strtod(text.c_str(), nullptr))) << text;
}

// Decimal text as atof reads it; hexadecimal, "inf" and "nan" read only
// their decimal start (a C runtime may read them whole).
TEST(StringToDouble, ReadsDecimalTextLikeAtofAndNothingElse) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1.06", 1.06}, {"  -3.5e2x", -350.0}, {".5", 0.5},    {"5.", 5.0},  {"1e", 1.0},
        {"1e+", 1.0},   {"2E-1", 0.2},         {"1.2.3", 1.2}, {"", 0.0},    {".", 0.0},
        {"abc", 0.0},   {"0x1A", 0.0},         {"inf", 0.0},   {"nan", 0.0}, {"1.5inf", 1.5},
    };
    for (const auto& c : cases) EXPECT_EQ(vokari::string_to_double(c.text), c.value) << c.text;
    EXPECT_TRUE(std::signbit(vokari::string_to_double("-0")));
}

TEST(StringToDouble, RoundsHardCasesCorrectly) {
    for (const char* text : {"0.1",
                             "1e23",
                             "9007199254740993",
                             "9007199254740995",
                             "2.2250738585072011e-308",
                             "2.2250738585072014e-308",
                             "4.9e-324",
                             "2.4703282292062327e-324",
                             "2.4703282292062328e-324",
                             "1.7976931348623157e308",
                             "1.7976931348623158e308",
                             "1.7976931348623159e308",
                             "1e309",
                             "-1e400",
                             "1e-400",
                             "123456789012345678901234567890e-20",
                             "0.500000000000000166533453693773481063544750213623046875",
                             "0.50000000000000016653345369377348106354475021362304687500000000000001",
                             "7.3177701707893310e+15",
                             "000000000000000000000000000000001.5e-00000000000000000000003"}) {
        expect_like_strtod(text);
    }
    // A tie decided only by a digit far beyond the 800th.
    expect_like_strtod("9007199254740993" + std::string(900, '0') + "1e-900");
    expect_like_strtod("9007199254740993" + std::string(900, '0') + "e-900");
    // An exponent larger than a million, written to cancel as many digits.
    expect_like_strtod("25" + std::string(2000000, '0') + "e-2000001");
}

TEST(StringToDouble, AgreesWithACorrectlyRoundedReaderOnRandomValues) {
    std::mt19937_64 random(20240607);
    char text[64];
    int compared = 0;
    while (compared < 20000) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        const int digits = 1 + static_cast<int>(random() % 19);
        std::snprintf(text, sizeof text, "%.*e", digits, value);
        expect_like_strtod(text);
        ++compared;
    }
}

}  // namespace
