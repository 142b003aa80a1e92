#include "numtext/text_forms.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace wallcalc::numtext {
namespace {

// Text of a value that is not finite. Only infinity reaches a field: an input beyond the
// single-precision range becomes infinite and carries through the arithmetic.
std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// General form with `precision` significant digits, from the scientific digits of the value
// ("d.ddddde±x" as to_chars writes them, already rounded to `precision` digits).
std::string generalFromScientific(std::string_view scientific, int precision) {
    char out[64];
    std::size_t n = 0;
    std::size_t i = 0;
    if (scientific[i] == '-') {
        out[n++] = '-';
        ++i;
    }
    char digits[32];
    std::size_t count = 0;
    for (; scientific[i] != 'e'; ++i)
        if (scientific[i] != '.') digits[count++] = scientific[i];
    int exponent = 0;
    std::from_chars(scientific.data() + i + 1 + (scientific[i + 1] == '+' ? 1 : 0),
                    scientific.data() + scientific.size(), exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    if (exponent < -4 || exponent >= precision) {
        out[n++] = digits[0];
        if (count > 1) {
            out[n++] = '.';
            for (std::size_t k = 1; k < count; ++k) out[n++] = digits[k];
        }
        out[n++] = 'E';
        out[n++] = exponent < 0 ? '-' : '+';
        int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude >= 100) out[n++] = static_cast<char>('0' + magnitude / 100);
        out[n++] = static_cast<char>('0' + magnitude / 10 % 10);
        out[n++] = static_cast<char>('0' + magnitude % 10);
    } else if (exponent >= 0) {
        std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
        for (std::size_t k = 0; k < integerDigits; ++k) out[n++] = k < count ? digits[k] : '0';
        if (count > integerDigits) {
            out[n++] = '.';
            for (std::size_t k = integerDigits; k < count; ++k) out[n++] = digits[k];
        }
    } else {
        out[n++] = '0';
        out[n++] = '.';
        for (int k = 0; k < -exponent - 1; ++k) out[n++] = '0';
        for (std::size_t k = 0; k < count; ++k) out[n++] = digits[k];
    }
    return std::string(out, n);
}

template <typename T>
std::string generalText(T value, int precision) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) return "0";  // negative zero included
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, precision - 1);
    return generalFromScientific(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)), precision);
}

}  // namespace

std::string singleText(float value) { return generalText(value, 7); }

std::string doubleText(double value) { return generalText(value, 15); }

std::string fixedText(float value, int decimals) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (value == 0) value = 0.0f;  // no sign on a negative zero
    char buffer[128];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string_view plain(buffer, static_cast<std::size_t>(result.ptr - buffer));

    std::string out;
    if (plain.front() == '-') {
        out.push_back('-');
        plain.remove_prefix(1);
    }
    std::size_t point = plain.find('.');
    std::string_view integer = plain.substr(0, point);
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(integer[i]);
    }
    if (point != std::string_view::npos) out.append(plain.substr(point));
    return out;
}

}  // namespace wallcalc::numtext
