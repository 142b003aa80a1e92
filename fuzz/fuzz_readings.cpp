// Any text either reads as a number or raises one of the readings' faults.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calc/fault.h"
#include "numtext/prefix_reading.h"
#include "numtext/strict_reading.h"
#include "numtext/text_forms.h"

using namespace wallcalc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        double value = numtext::prefixReading(text);
        if (!std::isfinite(value)) std::abort();
        numtext::doubleText(value);
        numtext::fixedText(static_cast<float>(value), 4);
    } catch (const FaultError& error) {
        if (error.fault().number != fault_number::kOverflow) std::abort();
    }
    try {
        double value = numtext::strictReading(text);
        if (!std::isfinite(value)) std::abort();
        // What the text forms write, the strict reading takes back.
        std::string written = numtext::doubleText(value);
        if (numtext::strictReading(written) != numtext::prefixReading(written)) std::abort();
        numtext::singleText(static_cast<float>(value));
    } catch (const FaultError& error) {
        int n = error.fault().number;
        if (n != fault_number::kOverflow && n != fault_number::kTypeMismatch) std::abort();
    }
    return 0;
}
