#pragma once
// Comma-separated values as spreadsheets write them: fields in double quotes may hold commas,
// line ends and doubled quotes; records end in LF or CR LF; a leading byte-order mark is skipped.

#include <string>
#include <string_view>
#include <vector>

namespace wallcalc::cli {

struct CsvRecord {
    int line = 0;  // the line of the file the record starts on, from 1
    std::vector<std::string> cells;
};

// Every record of `text`; lines holding nothing at all are skipped. A quote left open runs to
// the end of the text.
std::vector<CsvRecord> readCsv(std::string_view text);

// One record, with a line end (CR LF); cells quoted where they need it.
std::string csvLine(const std::vector<std::string>& cells);

}  // namespace wallcalc::cli
