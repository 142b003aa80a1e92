#pragma once
#include <string_view>

namespace wallcalc::numtext {

// The whole text as a number: blanks around, an optional sign, digits with "," group
// separators in the integer part, one ".", an optional exponent. Throws ReadError (NotANumber) for any
// other text, the empty text included, ReadError (BadGroupSeparator) for a "," that does not group
// the integer part in thousands, and ReadError (OutOfRange) beyond the double-precision range.
// Full-width digits, signs, point, comma and E and the ideographic space read as their ASCII forms.
// The decimal point is always "." and the group separator "," whatever the locale.
double strictReading(std::string_view text);

}  // namespace wallcalc::numtext
