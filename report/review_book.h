#pragma once
// 复核计算书 as a book: the review report's lines, with the inputs, the loads, every section and
// the signatures as tables and the pressure and moment diagrams as figures. Its plain text is the
// review report, line for line.

#include <string_view>

#include "report/document.h"
#include "review/review.h"

namespace wallcalc {

// `date` as printed ("2024-05-01"); `subject` names the wall in the page header (its name or
// file, or "" for an unnamed wall).
report::book::Document reviewBook(const review::Result& result, std::string_view date, std::string_view subject);

// The two diagrams of the review window as drawings: the pressures on the wall (earth, water,
// surcharge; slabs, ground and water table marked) and the moments of the ULS and the crack
// combination with each section's values, the wall's top at the top of both.
report::book::Figure pressureFigure(const review::Result& result);
report::book::Figure momentFigure(const review::Result& result);

}  // namespace wallcalc
