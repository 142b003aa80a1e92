#pragma once
// A small JSON reader and writer for the wall files: enough of RFC 8259 to read back what this
// program writes and what an engineer may type by hand, with no library beneath it.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wallcalc::wallfile::json {

struct Member;

struct Value {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // a string's UTF-8 text; a number as written
    std::vector<Value> items;
    std::vector<Member> members;  // in the order written

    // The member named `key` of an object (the last one where a key is repeated), or nullptr.
    const Value* find(std::string_view key) const;
};

// One name and value of an object. A struct of its own rather than std::pair, which needs a
// complete Value where the vector of members is declared.
struct Member {
    std::string name;
    Value value;
};

// Where and why a text is not JSON; the message in Chinese, with line and column (from 1).
class ParseError : public std::runtime_error {
public:
    ParseError(int line, int column, const std::string& reason);
    int line, column;
};

// The one value of `text` (UTF-8, leading and trailing white space allowed). Throws ParseError.
Value parse(std::string_view text);

// A JSON string literal of a UTF-8 text: the quote, the backslash and control characters are
// escaped, everything else is written as it is.
std::string quote(std::string_view utf8);

// Whether `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

}  // namespace wallcalc::wallfile::json
