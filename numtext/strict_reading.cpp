#include "numtext/strict_reading.h"

#include <string>

#include "numtext/decimal_parse.h"
#include "numtext/read_error.h"

namespace wallcalc::numtext {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void throwMismatch() { throw ReadError(ReadError::Kind::NotANumber); }
[[noreturn]] void throwBadGroups() { throw ReadError(ReadError::Kind::BadGroupSeparator); }

}  // namespace

double strictReading(std::string_view text) {
    std::string typed;
    text = detail::asciiTyped(text, typed);
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) throwMismatch();
    std::size_t end = text.find_last_not_of(' ') + 1;
    std::string_view s = text.substr(begin, end - begin);

    std::string canonical;
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') {
        if (s[i] == '-') canonical.push_back('-');
        ++i;
    }

    // Integer part: plain digits, or groups of three after a leading group of one to three.
    std::size_t intDigits = 0, groupLength = 0;
    bool grouped = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            canonical.push_back(s[i]);
            ++intDigits;
            ++groupLength;
            if (grouped && groupLength > 3) throwBadGroups();
        } else if (s[i] == ',') {
            if (intDigits == 0) throwMismatch();
            if (groupLength == 0 || groupLength > 3 || (grouped && groupLength != 3)) throwBadGroups();
            grouped = true;
            groupLength = 0;
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3) throwBadGroups();

    std::size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        canonical.push_back('.');
        for (++i; i < s.size() && isDigit(s[i]); ++i, ++fracDigits) canonical.push_back(s[i]);
    }
    if (intDigits + fracDigits == 0) throwMismatch();

    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        canonical.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) canonical.push_back(s[i++]);
        std::size_t firstDigit = i;
        for (; i < s.size() && isDigit(s[i]); ++i) canonical.push_back(s[i]);
        if (i == firstDigit) throwMismatch();
    }
    if (i != s.size()) throwMismatch();
    return detail::parseCanonicalDecimal(canonical);
}

}  // namespace wallcalc::numtext
