#pragma once
#include "core/fields.h"

namespace wallcalc {

// 强度计算: load ordinates, design and service moments, compression-zone heights and the
// required steel areas, written field by field. Throws FaultError at the first fault, leaving
// the fields written so far in place.
void strengthCalculation(FieldSet& fields);

}  // namespace wallcalc
