#include "cli/csv.h"

namespace wallcalc::cli {

std::vector<CsvRecord> readCsv(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string cell;
    int line = 1;
    bool inQuotes = false, recordStarted = false;
    record.line = 1;
    auto endRecord = [&] {
        record.cells.push_back(std::move(cell));
        cell.clear();
        const bool blank = record.cells.size() == 1 && record.cells[0].empty() && !recordStarted;
        if (!blank) records.push_back(std::move(record));
        record = CsvRecord{};
        recordStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    cell += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == '\n') ++line;
                cell += c;
            }
            continue;
        }
        if (record.cells.empty() && cell.empty() && !recordStarted) record.line = line;
        if (c == '"') {
            inQuotes = true;
            recordStarted = true;
        } else if (c == ',') {
            record.cells.push_back(std::move(cell));
            cell.clear();
            recordStarted = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRecord();
            ++line;
        } else {
            cell += c;
            recordStarted = true;
        }
    }
    if (recordStarted || !cell.empty() || !record.cells.empty()) endRecord();
    return records;
}

std::string csvLine(const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            out += cell;
            continue;
        }
        out += '"';
        for (char c : cell) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out + "\r\n";
}

}  // namespace wallcalc::cli
