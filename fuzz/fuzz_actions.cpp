// The three actions on arbitrary field texts: each either completes or raises one of the
// numbered faults and changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/action.h"
#include "report/compose.h"

using namespace wallcalc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is a list of field texts separated by NUL bytes, assigned to the fields in order;
    // the first byte picks the order of the actions.
    if (size == 0) return 0;
    const unsigned order = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    FieldSet fields;
    for (Field field : allFields()) {
        if (rest.empty()) break;
        std::size_t end = rest.find('\0');
        if (field != Field::Text29) fields.setText(field, std::string(rest.substr(0, end)));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    // With the top bit of the order byte set, the results count as the engineer's own texts, so
    // that the presses read them instead of stopping at once on a result that is not current.
    if (order & 0x80)
        for (Field field : allFields())
            if (pressOf(field) && field != Field::Text29) fields.setText(field, std::string(fields.text(field)));
    const Action actions[] = {strengthCalculation, crackWidthCheck, composeReport};
    for (int step = 0; step < 4; ++step) {
        const FieldSet before = fields;
        std::optional<Fault> fault = runAtomically(fields, actions[(order >> (2 * step)) % 3]);
        if (fault) {
            using namespace fault_number;
            int n = fault->number;
            if (n != kInvalidCall && n != kOverflow && n != kDivisionByZero && n != kTypeMismatch) std::abort();
            if (fault->what.empty() || !(fields == before)) std::abort();
        }
    }
    return 0;
}
