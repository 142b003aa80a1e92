#include "numtext/prefix_reading.h"

#include <string>

#include "numtext/decimal_parse.h"

namespace wallcalc::numtext {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int radixDigit(char c, int radix) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    return digit >= 0 && digit < radix ? digit : -1;
}

// The leading hexadecimal or octal digits of `text` as an integer, correctly rounded.
double radixInteger(std::string_view text, int radix) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    if (radix == 16) {
        for (char c : text) {
            int digit = radixDigit(c, 16);
            if (digit < 0) break;
            hex.push_back(kHex[digit]);
        }
    } else {
        // Octal digits are three bits each: regroup the bits into hexadecimal digits.
        std::string bits;
        for (char c : text) {
            int digit = radixDigit(c, 8);
            if (digit < 0) break;
            for (int shift = 2; shift >= 0; --shift) bits.push_back(static_cast<char>('0' + ((digit >> shift) & 1)));
        }
        bits.insert(0, (4 - bits.size() % 4) % 4, '0');
        for (std::size_t i = 0; i < bits.size(); i += 4) {
            int digit = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 + (bits[i + 3] - '0');
            hex.push_back(kHex[digit]);
        }
    }
    return detail::parseCanonicalHex(hex);
}

}  // namespace

double prefixReading(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);

    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return radixInteger(std::string_view(s).substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return radixInteger(std::string_view(s).substr(2), 8);
        return 0.0;
    }

    std::string canonical;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') canonical.push_back('-');
        ++i;
    }
    bool anyDigit = false, seenPoint = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            anyDigit = true;
        } else if (s[i] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        canonical.push_back(s[i]);
    }
    if (!anyDigit) return 0.0;

    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
        std::size_t firstDigit = j;
        while (j < s.size() && isDigit(s[j])) exponent.push_back(s[j++]);
        if (j > firstDigit) canonical += exponent;
    }
    return detail::parseCanonicalDecimal(canonical);
}

}  // namespace wallcalc::numtext
