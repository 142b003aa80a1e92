// Any text either reads as a number or raises one of the readings' faults.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "numtext/prefix_reading.h"
#include "numtext/read_error.h"
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
    } catch (const numtext::ReadError& error) {
        if (error.kind() == numtext::ReadError::Kind::NotANumber) std::abort();
    }
    try {
        double value = numtext::strictReading(text);
        if (!std::isfinite(value)) std::abort();
        // What the text forms write, the strict reading takes back.
        std::string written = numtext::doubleText(value);
        if (numtext::strictReading(written) != numtext::prefixReading(written)) std::abort();
        numtext::singleText(static_cast<float>(value));
    } catch (const numtext::ReadError&) {
        // Either kind may arise here.
    }
    return 0;
}
