#pragma once
#include <string>

namespace wallcalc::numtext {

// General form with up to 7 significant digits ("96.1", "1.234568E+07").
std::string singleText(float value);

// General form with up to 15 significant digits ("0.333333333333333").
std::string doubleText(double value);

// Exactly `decimals` digits after the point, integer part grouped by "," ("1,234.5679").
std::string fixedText(float value, int decimals);

}  // namespace wallcalc::numtext
