#include "numtext/decimal_parse.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "numtext/read_error.h"

namespace wallcalc::numtext::detail {
namespace {

[[noreturn]] void throwOverflow() { throw ReadError(ReadError::Kind::OutOfRange); }

// from_chars reports overflow and underflow alike. The two lie some 600 decades apart, so the
// decimal exponent of the first significant digit tells them apart.
bool isOverflow(std::string_view canonical) {
    std::int64_t position = 0;  // decimal exponent of the first significant digit
    bool seenPoint = false, seenSignificant = false;
    std::size_t i = 0;
    if (i < canonical.size() && canonical[i] == '-') ++i;
    for (; i < canonical.size(); ++i) {
        char c = canonical[i];
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        if (!seenSignificant && c != '0') {
            seenSignificant = true;
        }
        if (seenSignificant && !seenPoint) ++position;
        if (!seenSignificant && seenPoint) --position;
    }
    std::int64_t exponent = 0;
    if (i < canonical.size() && (canonical[i] == 'e' || canonical[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < canonical.size() && (canonical[i] == '+' || canonical[i] == '-')) negative = canonical[i++] == '-';
        for (; i < canonical.size(); ++i) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (canonical[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    return position + exponent > 0;
}

}  // namespace

double parseCanonicalDecimal(std::string_view canonical) {
    double value = 0.0;
    auto result =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        if (isOverflow(canonical)) throwOverflow();
        return (!canonical.empty() && canonical.front() == '-') ? -0.0 : 0.0;
    }
    return value;
}

double parseCanonicalHex(std::string_view hexDigits) {
    if (hexDigits.empty()) return 0.0;
    double value = 0.0;
    auto result = std::from_chars(hexDigits.data(), hexDigits.data() + hexDigits.size(), value, std::chars_format::hex);
    if (result.ec == std::errc::result_out_of_range) throwOverflow();
    return value;
}

}  // namespace wallcalc::numtext::detail
