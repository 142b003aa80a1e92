#pragma once
// The report the composition writes for the defaults after both calculations: 55 lines, each
// ended by CR LF, with the private-use characters where the report's literals carry them.

#include <string>
#include <vector>

namespace wallcalc::testing {

// The 55 lines, without their line ends.
const std::vector<std::string>& sampleReportLines();
// The lines joined, each followed by CR LF.
std::string sampleReport();

}  // namespace wallcalc::testing
