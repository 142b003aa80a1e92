#pragma once
// wallcalc-cli batch WALLS.csv --out DIR [--documents pdf|docx|odt]
//
// One wall a row of WALLS.csv: a header row names the columns — "name", field names (Text1 …)
// and review option keys (support …); an empty cell keeps the default. For each wall the
// strength calculation, the crack width check, the report and the review are run, and DIR
// receives NAME.json (the fields, the review and the fault, as the single run prints them), with
// --documents the report as NAME.report.pdf (or .docx, .odt) and the review report as
// NAME.review.pdf, and at the end summary.csv with one row a wall.
//
// A bad row (wrong number of cells, a bad name or option, a fault) is reported on stderr with
// its line number and the others go on. A wall the review refuses keeps what the four buttons
// gave (its JSON with the review's fault, its 计算书), and its row counts as failed. Exit status: 0 every wall done, 3
// some row failed, 2 a usage error (no file, bad header, output not writable). On a terminal stderr shows the progress
// ("12/40 walls").

#include <string>
#include <vector>

namespace wallcalc::cli {

int runBatch(const std::vector<std::string>& args);

}  // namespace wallcalc::cli
