#pragma once
#include <string_view>

namespace wallcalc::numtext {

// The whole text as a number: blanks around, an optional sign, digits with "," group
// separators in the integer part, one ".", an optional exponent. Throws ReadError (NotANumber) for any
// other text, the empty text included, and ReadError (OutOfRange) beyond the double-precision range.
// The decimal point is always "." and the group separator "," whatever the locale.
double strictReading(std::string_view text);

}  // namespace wallcalc::numtext
