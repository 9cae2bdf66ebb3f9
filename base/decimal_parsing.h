// Decimal text to double, the same bits on every build.
#pragma once

namespace vokari {

// C atof rules for decimal text (leading blanks, sign, digits, point, digits,
// exponent), computed the same way on every build; text that is not a decimal
// number ("inf", "nan", hexadecimal) reads as far as it is decimal, else 0.0.
double string_to_double(const char* text);

}  // namespace vokari
