#pragma once
// The review of the window's default wall with some field texts and options changed.

#include <initializer_list>
#include <utility>

#include "review/review.h"

namespace wallcalc::testing {

inline review::Result reviewOf(std::initializer_list<std::pair<Field, const char*>> texts,
                               std::initializer_list<std::pair<const char*, const char*>> options = {}) {
    FieldSet fields;
    for (auto [field, text] : texts) fields.setText(field, text);
    review::Options o;
    for (auto [key, value] : options) review::setOption(o, key, value);
    return review::reviewWall(fields, o);
}

}  // namespace wallcalc::testing
