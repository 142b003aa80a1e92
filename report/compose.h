#pragma once
#include <string>

#include "core/fields.h"

namespace wallcalc {

// 生成计算书: composes the 55-line calculation report from the fields and, only when every
// line has been composed, replaces the text of Text29 with it. First every result of both
// calculations must be current (fault 5 naming the first that is not and the button to press).
// Throws FaultError otherwise, with every field unchanged.
void composeReport(FieldSet& fields);

// The report text itself (55 lines, each ended by CR LF), without touching the fields.
std::string reportText(const FieldSet& fields);

}  // namespace wallcalc
