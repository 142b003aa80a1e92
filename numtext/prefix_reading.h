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

// What a text begins with, blanks, tabs and line feeds dropped and full-width forms read as
// ASCII, as the prefix reading sees it: nothing at all, a number (a digit, a sign or point
// before a digit, "&H" or "&O" before a digit of its radix), or something else ("abc", "=1",
// "C30"), which the prefix reading takes as 0.
enum class Leading { Nothing, Number, Other };
Leading leadingOf(std::string_view text);

}  // namespace wallcalc::numtext
