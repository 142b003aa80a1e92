#include "cli/csv.h"

namespace wallcalc::cli {
namespace {

// Where the line holding `at` ends, past its line end; the text's end if it has none.
std::size_t nextLine(std::string_view text, std::size_t at) {
    const std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) return text.size();
    return end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
}

int linesIn(std::string_view text) {
    int lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++lines;
    }
    return lines;
}

}  // namespace

std::vector<CsvRecord> readCsv(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<CsvRecord> records;
    std::size_t i = 0;
    int line = 1;
    while (i < text.size()) {
        CsvRecord record;
        record.line = line;
        const std::size_t start = i;
        std::string cell;
        bool ended = false;
        // A quote that opens no cell, or closes one without the cell ending there, is out of
        // place: the record is reported alone and reading goes on with the next line.
        auto stray = [&](const char* problem) {
            record.problem = problem;
            record.cells.clear();
            i = nextLine(text, i);
            ended = true;
        };
        while (!ended) {
            if (i < text.size() && text[i] == '"') {
                std::size_t j = i + 1;
                bool closed = false;
                for (; j < text.size(); ++j) {
                    if (text[j] != '"') {
                        cell += text[j];
                    } else if (j + 1 < text.size() && text[j + 1] == '"') {
                        cell += '"';
                        ++j;
                    } else {
                        closed = true;
                        break;
                    }
                }
                if (!closed) {
                    i = start;
                    stray("引号没有闭合");
                    break;
                }
                i = j + 1;
                if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    stray("引号后面还有字符（引号不成对？）");
                    break;
                }
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n' && text[i] != '"')
                    cell += text[i++];
                if (i < text.size() && text[i] == '"') {
                    stray("单元格中间有引号（含引号的单元格须整个放在引号中，内部引号写两次）");
                    break;
                }
            }
            record.cells.push_back(std::move(cell));
            cell.clear();
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            i = nextLine(text, i);  // a line end, or the end of the text
            ended = true;
        }
        line += linesIn(text.substr(start, i - start));
        const bool blank = record.problem.empty() && record.cells.size() == 1 && record.cells[0].empty();
        if (!blank) records.push_back(std::move(record));
    }
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
