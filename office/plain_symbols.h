#pragma once
// The report writes its engineering symbols as private-use characters, drawn by the program's
// own symbol font. A document that leaves the program must read right without that font, so
// every such character becomes its standard Unicode form: ², ³, ₁, ₂, Φ and the raised 0.5 as
// ⁰·⁵ (superscript zero, middle dot, superscript five).

#include <string>
#include <string_view>

namespace wallcalc {

// `report` with each of the program's private-use symbols replaced by its standard form;
// every other character, line ends included, unchanged.
std::string standardSymbols(std::string_view report);

}  // namespace wallcalc
