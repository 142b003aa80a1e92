#pragma once
#include <string_view>

namespace wallcalc::numtext {

// The longest leading number of a text, blanks, tabs and line feeds dropped wherever they
// stand; 0 when the text has no leading number. "&H" and "&O" begin hexadecimal and octal
// integers. Throws ReadError (OutOfRange) only for a number beyond the double-precision range.
double prefixReading(std::string_view text);

}  // namespace wallcalc::numtext
