#pragma once
// JSON on one line, as the command line prints it:
//
//   {"fields": {"Text1": "10", "Text2": "0.5"}, "fault": null, "knots": [[0, 1.5], [2, 0]]}
//
// ", " between members and items, ": " after a name, members in the order they were put in.
// Texts are UTF-8, not ASCII-escaped; a byte that is not part of well-formed UTF-8 becomes
// U+FFFD, and the quote, the backslash, the control characters and DEL are escaped (\n, \r and
// \t by their letters, the others as \u00XX). A number is written in the shortest text that
// reads back as the same double ("-0" as 0; one that is not finite as null); integers as
// integers.

#include <nlohmann/json_fwd.hpp>
#include <string>

namespace wallcalc {

std::string oneLineJson(const nlohmann::ordered_json& value);

}  // namespace wallcalc
