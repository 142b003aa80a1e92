#pragma once
// The report's CR LF line ends, turned into the paragraph breaks of a word processor.

#include <string>
#include <string_view>

namespace wallcalc {

// Each CR LF of `report` ends one line. The result separates those lines by a single CR (a
// paragraph break where a word processor takes text with CR as the paragraph mark), so that
// every line of the report becomes one paragraph: the CR LF after the last line ends that line
// and starts no further, empty paragraph. A CR or an LF that is not part of a pair is kept as
// it is. Every other character is passed through unchanged.
std::string toParagraphText(std::string_view report);

}  // namespace wallcalc
