#pragma once
// Well-formed UTF-8 (RFC 3629: no overlong forms, no surrogates, nothing above U+10FFFF).

#include <cstddef>
#include <string>
#include <string_view>

namespace wallcalc {

// The length of the well-formed sequence `text` starts with (1 to 4), or 0 where it does not
// start with one (an empty text included).
std::size_t utf8SequenceLength(std::string_view text);

// The code point of the well-formed sequence of `length` bytes (utf8SequenceLength) that `text`
// starts with.
char32_t utf8CodePoint(std::string_view text, std::size_t length);

bool isUtf8(std::string_view text);

// The largest position at most `at` where a character of `text` starts: where it may be cut.
std::size_t utf8Boundary(std::string_view text, std::size_t at);

// `text` with every byte that is not part of a well-formed sequence replaced by U+FFFD.
std::string withReplacementCharacters(std::string_view text);

}  // namespace wallcalc
