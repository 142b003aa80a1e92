#include "numtext/prefix_reading.h"

#include <string>

#include "numtext/decimal_parse.h"
#include "numtext/read_error.h"

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

Leading leadingOf(std::string_view text) {
    std::string typed;
    text = detail::asciiTyped(text, typed);
    const std::size_t first = text.find_first_not_of(" \t\n");
    if (first == std::string_view::npos) return Leading::Nothing;
    std::string s;
    for (char c : text.substr(first))
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
    if (s.size() >= 3 && s[0] == '&') {
        const int radix = (s[1] == 'H' || s[1] == 'h') ? 16 : (s[1] == 'O' || s[1] == 'o') ? 8 : 0;
        return radix && radixDigit(s[2], radix) >= 0 ? Leading::Number : Leading::Other;
    }
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    if (i < s.size() && s[i] == '.') ++i;
    return i < s.size() && isDigit(s[i]) ? Leading::Number : Leading::Other;
}

double prefixReading(std::string_view text) {
    std::string typed;
    text = detail::asciiTyped(text, typed);

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

    // The number, copied without its group separators; the exponent is written with e.
    std::string canonical;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '+') ++i;
    const std::size_t begin = i;
    if (i < text.size() && text[i] == '-') canonical.push_back(text[i++]);
    bool anyDigit = false, seenPoint = false;
    // A "," among the leading digits groups them in thousands, or the text is refused: "4,500"
    // is 4500, never 4.
    bool grouped = false;
    std::size_t groupLength = 0;
    auto checkGroups = [&] {
        if (grouped && groupLength != 3) throw ReadError(ReadError::Kind::BadGroupSeparator);
    };
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            canonical.push_back(c);
            if (!seenPoint && ++groupLength > 3 && grouped) checkGroups();
        } else if (c == ',' && anyDigit && !seenPoint) {
            if (groupLength == 0 || groupLength > 3) throw ReadError(ReadError::Kind::BadGroupSeparator);
            checkGroups();
            grouped = true;
            groupLength = 0;
        } else if (c == '.' && !seenPoint) {
            if (anyDigit) checkGroups();
            seenPoint = true;
            canonical.push_back(c);
        } else {
            break;
        }
    }
    if (!seenPoint) checkGroups();
    if (!anyDigit) return 0.0;
    if (begin == 1 && text.size() > 1 && text[1] == '-') return 0.0;  // "+-1": the sign is not followed by a digit

    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(text[j++]);
        const std::size_t firstDigit = j;
        while (j < text.size() && isDigit(text[j])) exponent.push_back(text[j++]);
        if (j > firstDigit) canonical += exponent;
    }
    return detail::parseCanonicalDecimal(canonical);
}

}  // namespace wallcalc::numtext
