#pragma once
// A JSON string literal of a UTF-8 text, not ASCII-escaped: only the quote, the backslash and
// control characters are escaped, and bytes that are not UTF-8 become U+FFFD.

#include <string>
#include <string_view>

namespace wallcalc::cli {

std::string jsonString(std::string_view utf8);

}  // namespace wallcalc::cli
