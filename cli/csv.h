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
    // Why the record could not be read (a quote out of place or left open), with no cells;
    // empty for a good record.
    std::string problem;
};

// Every record of `text`; lines holding nothing at all are skipped. A quote out of place spoils
// only its own record: it is returned with its problem, and reading goes on with the next line.
std::vector<CsvRecord> readCsv(std::string_view text);

// One record, with a line end (CR LF); cells quoted where they need it.
std::string csvLine(const std::vector<std::string>& cells);

}  // namespace wallcalc::cli
