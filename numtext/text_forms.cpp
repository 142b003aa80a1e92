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
    std::string out;
    std::size_t i = 0;
    if (scientific[i] == '-') {
        out.push_back('-');
        ++i;
    }
    std::string digits;
    for (; i < scientific.size() && scientific[i] != 'e'; ++i)
        if (scientific[i] != '.') digits.push_back(scientific[i]);
    int exponent = 0;
    std::from_chars(scientific.data() + i + 1 + (scientific[i + 1] == '+' ? 1 : 0),
                    scientific.data() + scientific.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    if (exponent < -4 || exponent >= precision) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1);
        }
        out.push_back('E');
        out.push_back(exponent < 0 ? '-' : '+');
        std::string expDigits = std::to_string(exponent < 0 ? -exponent : exponent);
        if (expDigits.size() < 2) expDigits.insert(0, "0");
        out += expDigits;
    } else if (exponent >= 0) {
        std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out.push_back('.');
            out.append(digits, integerDigits);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return out;
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
