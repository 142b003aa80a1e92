#pragma once
// 复核计算书: the review report, composed from the review's results as they are (nothing is
// computed again but the printing check of each substituted line).

#include <string>
#include <string_view>
#include <vector>

#include "review/review.h"

namespace wallcalc {

// The lines of the review report, without line ends. `date` is printed as given ("2024-05-01").
std::vector<std::string> reviewReportLines(const review::Result& result, std::string_view date);

// The same lines, each ended by CR LF, as the export takes a report.
std::string reviewReportText(const review::Result& result, std::string_view date);

}  // namespace wallcalc
