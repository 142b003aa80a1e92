#pragma once
#include <string_view>

namespace wallcalc::numtext {

// The longest leading number of a text, blanks, tabs and line feeds dropped wherever they
// stand; 0 when the text has no leading number. "&H" and "&O" begin hexadecimal and octal
// integers. A "," among the leading digits is a thousands separator ("4,500" is 4500) and any
// other "," there is refused (ReadError BadGroupSeparator: "4,50", "30,"); after the decimal
// point a "," ends the number. Full-width digits, signs, point, comma and E and the ideographic
// space read as their ASCII forms. Throws ReadError (OutOfRange) for a number beyond the
// double-precision range.
double prefixReading(std::string_view text);

}  // namespace wallcalc::numtext
