#pragma once
// Field sets for the tests: the defaults with a few texts changed, and the outcome of an
// action run in place (fields written up to a fault stay written).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/action.h"
#include "core/fault.h"
#include "core/fields.h"

namespace wallcalc::testing {

using Texts = std::vector<std::pair<Field, std::string>>;

inline FieldSet with(const Texts& texts) {
    FieldSet fields;
    for (const auto& [field, text] : texts) fields.setText(field, text);
    return fields;
}

// Every result of `press` typed by the engineer as it stands, so that the actions after it take
// the texts as the engineer's own.
inline void typeResults(FieldSet& fields, Press press) {
    for (Field field : allFields())
        if (pressOf(field) == press) fields.setText(field, fields.text(field));
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

// An action that must stop with `fault`: run in place it may have written only the fields in
// `written`; run atomically it changes nothing.
struct FaultCase {
    const char* name;
    Texts inputs;
    int fault;
    std::vector<Field> written;
};

inline void expectFault(const FaultCase& c, const std::function<void(FieldSet&)>& action) {
    const FieldSet before = with(c.inputs);
    FieldSet fields = before;
    EXPECT_EQ(runInPlace(fields, action), c.fault) << c.name;
    for (Field field : changedFields(before, fields))
        EXPECT_NE(std::find(c.written.begin(), c.written.end(), field), c.written.end())
            << c.name << ": " << fieldName(field);

    FieldSet atomic = before;
    std::optional<Fault> fault = runAtomically(atomic, action);
    ASSERT_TRUE(fault) << c.name;
    EXPECT_EQ(fault->number, c.fault) << c.name;
    EXPECT_FALSE(fault->what.empty()) << c.name;
    EXPECT_EQ(atomic, before) << c.name;
}

// An input that an action refuses: the fault, the field the engineer must mend, and nothing
// changed when the action runs atomically.
struct RefusedCase {
    const char* name;
    Texts inputs;
    int fault;
    Field field;
};

inline void expectRefused(const RefusedCase& c, const std::function<void(FieldSet&)>& action) {
    FieldSet fields = with(c.inputs);
    const FieldSet before = fields;
    std::optional<Fault> fault = runAtomically(fields, action);
    ASSERT_TRUE(fault) << c.name;
    EXPECT_EQ(fault->number, c.fault) << c.name << ": " << fault->what;
    EXPECT_EQ(fault->field, c.field) << c.name << ": " << fault->what;
    // The message names the field by its caption and says what to type.
    EXPECT_NE(fault->what.find("请"), std::string::npos) << c.name << ": " << fault->what;
    EXPECT_EQ(fields, before) << c.name;
}

}  // namespace wallcalc::testing
