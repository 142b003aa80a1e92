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

std::string_view asciiTyped(std::string_view text, std::string& storage) {
    // U+FF01..U+FF5E are EF BC 81..EF BD 9E in UTF-8; U+3000 is E3 80 80.
    auto fullWidth = [](std::string_view rest) -> char {
        if (rest.size() < 3) return 0;
        const auto b0 = static_cast<unsigned char>(rest[0]), b1 = static_cast<unsigned char>(rest[1]),
                   b2 = static_cast<unsigned char>(rest[2]);
        if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) return ' ';
        if (b0 != 0xEF) return 0;
        unsigned code = 0;
        if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) code = 0xFF01 + (b2 - 0x81);
        if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) code = 0xFF40 + (b2 - 0x80);
        if (code == 0) return 0;
        const char ascii = static_cast<char>(code - 0xFF01 + 0x21);
        if ((ascii >= '0' && ascii <= '9') || ascii == '+' || ascii == '-' || ascii == '.' || ascii == ',' ||
            ascii == 'E' || ascii == 'e')
            return ascii;
        return 0;
    };
    if (text.find('\xE3') == std::string_view::npos && text.find('\xEF') == std::string_view::npos) return text;
    storage.clear();
    storage.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const char ascii = fullWidth(text.substr(i))) {
            storage.push_back(ascii);
            i += 3;
        } else {
            storage.push_back(text[i++]);
        }
    }
    return storage;
}

double parseCanonicalHex(std::string_view hexDigits) {
    if (hexDigits.empty()) return 0.0;
    double value = 0.0;
    auto result = std::from_chars(hexDigits.data(), hexDigits.data() + hexDigits.size(), value, std::chars_format::hex);
    if (result.ec == std::errc::result_out_of_range) throwOverflow();
    return value;
}

}  // namespace wallcalc::numtext::detail
