#pragma once
// wallcalc-cli batch WALLS.csv --out DIR [--documents pdf|docx|odt]
//
// One wall a row of WALLS.csv: a header row names the columns — "name", field names (Text1 …)
// and review option keys (support …); an empty cell keeps the default. For each wall the
// strength calculation, the crack width check and the report are run, and DIR receives
// NAME.json (the fields and the fault, as the single run prints them), with --documents the
// report as NAME.report.pdf (or .docx, .odt), and at the end summary.csv with one row a wall.
//
// A bad row (wrong number of cells, a bad name or option, a fault) is reported on stderr with
// its line number and the others go on. Exit status: 0 every wall done, 3 some row failed,
// 2 a usage error (no file, bad header, output not writable). On a terminal stderr shows the
// progress ("12/40 walls").

#include <string>
#include <vector>

namespace wallcalc::cli {

int runBatch(const std::vector<std::string>& args);

}  // namespace wallcalc::cli
