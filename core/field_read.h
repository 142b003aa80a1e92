#pragma once
// Reading a field's text as a number, with the fault saying which field could not be read.

#include <string_view>

#include "core/fields.h"

namespace wallcalc {

// The caption of a field in the engineer's terms, e.g. "地面堆载q" for Text1.
std::string_view fieldCaption(Field field);

// Numeric-prefix reading of the field's text (0 when it has no leading number).
double readPrefix(const FieldSet& fields, Field field);

// Strict reading of the field's text. `hint`, when given, replaces the standard advice in the
// type-mismatch message (e.g. which action must run first).
double readStrict(const FieldSet& fields, Field field, std::string_view hint = {});

}  // namespace wallcalc
