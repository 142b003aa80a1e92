#pragma once
// JSON read for the wall files through nlohmann-json, with messages an engineer can act on: what
// is wrong, in Chinese, and where, by line and column (counted in characters, from 1). A name
// given twice in one object is refused, not left to the last one given.

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wallcalc::wallfile::json {

class ParseError : public std::runtime_error {
public:
    ParseError(int line, int column, const std::string& reason);
    int line, column;
};

// The one value of `text` (UTF-8, white space around it allowed). Throws ParseError.
nlohmann::json parse(std::string_view text);

}  // namespace wallcalc::wallfile::json
