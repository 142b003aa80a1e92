#pragma once
// Shared by the two readings: turns a canonical decimal text (optional "-", digits with at most
// one ".", optional "e" exponent) into a double, correctly rounded.

#include <string_view>

namespace wallcalc::numtext::detail {

// Throws ReadError (OutOfRange) when the value lies beyond the double-precision range; a value too
// small for it underflows to a signed zero, which is no fault.
double parseCanonicalDecimal(std::string_view canonical);

// Same for a canonical hexadecimal integer (digits 0-9 a-f only, no prefix).
double parseCanonicalHex(std::string_view hexDigits);

}  // namespace wallcalc::numtext::detail
