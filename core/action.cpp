#include "core/action.h"

namespace wallcalc {

std::optional<Fault> runAtomically(FieldSet& fields, const Action& action) {
    FieldSet copy = fields;
    try {
        action(copy);
    } catch (const FaultError& error) {
        return error.fault();
    }
    fields = std::move(copy);
    return std::nullopt;
}

}  // namespace wallcalc
