#pragma once
// Running an action so that a fault changes nothing: the action works on a copy of the field
// texts, and the copy replaces the fields only when the action completes.

#include <functional>
#include <optional>

#include "core/fault.h"
#include "core/fields.h"

namespace wallcalc {

using Action = std::function<void(FieldSet&)>;

// Runs `action` on a copy of `fields`. On success the copy replaces `fields` and the result is
// empty; on a fault `fields` is left exactly as it was and the fault is returned.
std::optional<Fault> runAtomically(FieldSet& fields, const Action& action);

}  // namespace wallcalc
