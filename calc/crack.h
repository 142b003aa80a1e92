#pragma once
#include "core/fields.h"

namespace wallcalc {

// 裂缝计算: provided steel area, reinforcement ratios, ftk, the maximum crack width and the
// verdict, written field by field. Throws FaultError at the first fault, leaving the fields
// written so far in place.
void crackWidthCheck(FieldSet& fields);

// The verdict: true (满足要求) only for a finite `width` whose four-decimal text reads as a
// `shownWidth` between 0 and the limit 0.2 mm. A width that is infinite, not a number or
// negative says nothing about the wall.
bool crackWidthPasses(float width, double shownWidth);

}  // namespace wallcalc
