#pragma once
#include "core/fields.h"

namespace wallcalc {

// 裂缝计算: provided steel area, reinforcement ratios, ftk, the maximum crack width and the
// verdict, written field by field. Throws FaultError at the first fault, leaving the fields
// written so far in place.
void crackWidthCheck(FieldSet& fields);

}  // namespace wallcalc
