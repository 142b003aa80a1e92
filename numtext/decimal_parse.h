#pragma once
// Shared by the two readings: turns a canonical decimal text (optional "-", digits with at most
// one ".", optional "e" exponent) into a double, correctly rounded.

#include <string>
#include <string_view>

namespace wallcalc::numtext::detail {

// Throws ReadError (OutOfRange) when the value lies beyond the double-precision range; a value too
// small for it underflows to a signed zero, which is no fault.
double parseCanonicalDecimal(std::string_view canonical);

// The text with what a Chinese input method types in full-width mode turned into ASCII: the
// digits ０-９, ＋ － ． ， Ｅ ｅ and the ideographic space U+3000. Returns `text` itself when it
// holds none of them, otherwise a view of `storage`.
std::string_view asciiTyped(std::string_view text, std::string& storage);

// Same for a canonical hexadecimal integer (digits 0-9 a-f only, no prefix).
double parseCanonicalHex(std::string_view hexDigits);

}  // namespace wallcalc::numtext::detail
