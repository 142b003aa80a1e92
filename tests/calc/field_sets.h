#pragma once
// Field sets for the tests: the defaults with a few texts changed, and the outcome of an
// action run in place (fields written up to a fault stay written).

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/fault.h"
#include "calc/fields.h"

namespace wallcalc::testing {

using Texts = std::vector<std::pair<Field, std::string>>;

inline FieldSet with(const Texts& texts) {
    FieldSet fields;
    for (const auto& [field, text] : texts) fields.setText(field, text);
    return fields;
}

// Runs the action in place and returns the fault number (0 when it completes).
inline int runInPlace(FieldSet& fields, const std::function<void(FieldSet&)>& action) {
    try {
        action(fields);
    } catch (const FaultError& error) {
        return error.fault().number;
    }
    return 0;
}

// The fields whose text differs between two sets.
inline std::vector<Field> changedFields(const FieldSet& before, const FieldSet& after) {
    std::vector<Field> changed;
    for (Field field : allFields())
        if (before.text(field) != after.text(field)) changed.push_back(field);
    return changed;
}

}  // namespace wallcalc::testing
