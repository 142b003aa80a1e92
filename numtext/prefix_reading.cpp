#include "numtext/prefix_reading.h"

#include <string>

#include "numtext/decimal_parse.h"

namespace wallcalc::numtext {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int radixDigit(char c, int radix) {
    int digit = -1;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
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
    // Blanks, tabs and line feeds do not count wherever they stand.
    std::string s;
    if (text.find_first_of(" \t\n") != std::string_view::npos) {
        s.reserve(text.size());
        for (char c : text)
            if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
        text = s;
    }

    if (text.size() >= 2 && text[0] == '&') {
        if (text[1] == 'H' || text[1] == 'h') return radixInteger(text.substr(2), 16);
        if (text[1] == 'O' || text[1] == 'o') return radixInteger(text.substr(2), 8);
        return 0.0;
    }

    // The number is a run of the text as it stands; from_chars takes it directly unless the
    // exponent is written with D.
    std::size_t i = 0;
    if (i < text.size() && text[i] == '+') ++i;
    const std::size_t begin = i;
    if (i < text.size() && text[i] == '-') ++i;
    bool anyDigit = false, seenPoint = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            anyDigit = true;
        } else if (text[i] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0.0;
    if (begin == 1 && text.size() > 1 && text[1] == '-') return 0.0;  // "+-1": the sign is not followed by a digit

    std::size_t end = i;
    bool exponentD = false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t firstDigit = j;
        while (j < text.size() && isDigit(text[j])) ++j;
        if (j > firstDigit) {
            end = j;
            exponentD = text[i] == 'D' || text[i] == 'd';
        }
    }
    std::string_view number = text.substr(begin, end - begin);
    if (!exponentD) return detail::parseCanonicalDecimal(number);
    std::string canonical(number);
    canonical[i - begin] = 'e';
    return detail::parseCanonicalDecimal(canonical);
}

}  // namespace wallcalc::numtext
