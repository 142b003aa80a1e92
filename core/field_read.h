#pragma once
// Reading a field's text as a number, with the fault saying which field could not be read.

#include <string_view>

#include "core/fields.h"

namespace wallcalc {

// The caption of a field in the engineer's terms, e.g. "地面堆载q" for Text1.
std::string_view fieldCaption(Field field);

// What to type into the field, e.g. "请输入等级的数字，如 30" for Text10.
std::string_view fieldAdvice(Field field);

// Every fault of a reading names the field by its caption and says what to type
// ("混凝土强度等级：“C”不是数值，请输入等级的数字，如 30"), and carries the field. A "," that
// does not group the leading digits in thousands is fault 13, whichever the reading.

// Numeric-prefix reading of the field's text: 0 when it holds nothing but blanks. In an input
// typed as a number (Text1 Text2 Text3 Text4 Text9 Text10 Text13 Text17 Text24 Text25) a text
// that begins with no number ("abc", "=1", "C30") is fault 5 "…不是数值", not a 0.
//
// Both readings refuse a positive value outside what any basement wall has in the storey height
// (1 000–15 000 mm), thickness (100–3 000 mm), depth (at most 100 m), surcharge (at most
// 500 kN/m²), bar diameter (6–50 mm) and spacing (50–1 000 mm): fault 5 naming the field, its
// unit and an example; beyond the single range these fields are fault 6.
double readPrefix(const FieldSet& fields, Field field);

// The same, held in single precision: a number beyond the single range is fault 6 here rather
// than an infinity carried through the arithmetic.
float readPrefixSingle(const FieldSet& fields, Field field);

// Strict reading of the field's text. `hint`, when given, replaces the standard advice in the
// type-mismatch message (e.g. which action must run first).
double readStrict(const FieldSet& fields, Field field, std::string_view hint = {});

// Fault 5 naming result `field` and the button to press when the field is not current (see
// FieldSet): "支座弯距：不是按当前输入算得的结果，请先按“强度计算”".
void requireCurrent(const FieldSet& fields, Field field);

// Fault 5 naming `field` and what to type into it when `value`, a quantity formed from that
// field, is negative; `problem` says which quantity ("有效高度 ho 为负").
void refuseNegative(double value, Field field, std::string_view problem);

}  // namespace wallcalc
