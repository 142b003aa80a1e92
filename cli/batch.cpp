#include "cli/batch.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "calc/crack.h"
#include "calc/strength.h"
#include "cli/csv.h"
#include "cli/date.h"
#include "cli/gb18030.h"
#include "cli/json.h"
#include "core/action.h"
#include "core/json_line.h"
#include "core/shown_text.h"
#include "core/utf8.h"
#include "office/office.h"
#include "report/compose.h"
#include "report/review_book.h"
#include "report/review_compose.h"
#include "review/review.h"
#include "wallfile/atomic_write.h"
#include "wallfile/options.h"

namespace wallcalc::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "usage: wallcalc-cli batch WALLS.csv --out DIR [--documents pdf|docx|odt]";

int usage(const std::string& message) {
    std::cerr << "wallcalc-cli: batch: " << shownText(message) << " (" << kUsage << ")\n";
    return 2;
}

bool stderrIsTerminal() {
#if defined(_WIN32)
    return ::_isatty(::_fileno(stderr)) != 0;
#else
    return ::isatty(::fileno(stderr)) != 0;
#endif
}

// A column of the input: the name, a field or a review option.
struct Column {
    enum class Kind { Name, Field, Option } kind;
    Field field{};
    std::string key;
};

// The columns of summary.csv besides the name: the main inputs, then the results of the four
// buttons.
struct SummaryColumn {
    const char* title;
    Field field;
};
constexpr SummaryColumn kSummaryFields[] = {
    {"q (Text1)", Field::Text1},         {"h1 (Text2)", Field::Text2},  {"H (Text3)", Field::Text3},
    {"t (Text4)", Field::Text4},         {"L (Text9)", Field::Text9},   {"C (Text10)", Field::Text10},
    {"fy (Text13)", Field::Text13},      {"d (Text17)", Field::Text17}, {"s (Text25)", Field::Text25},
    {"M1 (Text5)", Field::Text5},        {"As1 (Text7)", Field::Text7}, {"ωmax (Text15)", Field::Text15},
    {"verdict (Text18)", Field::Text18},
};
// The review of one wall, for its JSON and its summary columns: per section As,req, w of the
// given bars, their verdict and the first recommended bars; the shear verdict; the warnings.
struct SectionCells {
    review::SectionKind kind;
    int storey;
    std::string name;
    std::array<std::string, 4> cells;
};
constexpr const char* kSectionColumns[] = {"As,req", "w", "verdict", "bars"};

// Sections in the wall's order from the top: the top slab, then each storey's span and the
// slab under it, the base slab last.
int topDown(review::SectionKind kind, int storey) {
    switch (kind) {
        case review::SectionKind::Top: return 0;
        case review::SectionKind::Span: return 2 * storey - 1;
        case review::SectionKind::Slab: return 2 * storey;
        case review::SectionKind::Base: break;
    }
    return std::numeric_limits<int>::max();
}

struct ReviewOutcome {
    review::Result result;
    nlohmann::ordered_json json;  // the value of "review"
    std::vector<SectionCells> sections;
    std::string shear, warnings;
};
ReviewOutcome reviewOf(const FieldSet& fields, const wallfile::OptionTexts& texts) {
    review::Options options;
    for (const auto& [key, text] : texts.entries()) review::setOption(options, key, text);
    ReviewOutcome outcome{review::reviewWall(fields, options), {}, {}, {}, {}};
    const review::Result& result = outcome.result;
    outcome.json = review::reviewJsonTree(result);
    auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.4g", value);
        return std::string(text);
    };
    for (const review::Section& s : result.sections)
        outcome.sections.push_back(
            {s.kind,
             s.storey,
             s.name,
             {s.AsReq ? number(*s.AsReq) : s.note, number(s.given.w), s.given.ok ? "满足" : "不满足",
              s.choice.empty() ? std::string()
                               : "Φ" + std::to_string(s.choice[0].d) + "@" + std::to_string(s.choice[0].s)}});
    std::string failing;
    for (const review::Shear& v : result.shear)
        if (!v.ok) failing += (failing.empty() ? "" : " ") + v.at;
    outcome.shear = failing.empty() ? "满足" : "不满足（" + failing + "）";
    for (const review::Warning* w : result.warnings)
        outcome.warnings += (outcome.warnings.empty() ? "" : " ") + std::string(w->code);
    return outcome;
}

bool isInput(Field field) {
    for (Field f : {Field::Text5, Field::Text7, Field::Text15, Field::Text18})
        if (f == field) return false;
    return true;
}

// The name as Windows compares file names: letters in either case are the same.
std::string folded(std::string_view name) {
    std::string fold(name);
    for (char& c : fold)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return fold;
}

// Device names Windows reserves, with any extension: NUL.json would be no file.
bool isDeviceName(std::string_view name) {
    const std::string base = folded(name.substr(0, name.find('.')));
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (base == device) return true;
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' && base[3] <= '9')
        return true;
    // COM¹ … LPT³: the superscript digits count too.
    for (std::string_view digit : {"\u00B9", "\u00B2", "\u00B3"})
        if (base == "COM" + std::string(digit) || base == "LPT" + std::string(digit)) return true;
    return false;
}

// A name that is one plain file name on every system, and shows as it is in every message.
std::optional<std::string> badName(const std::string& name) {
    if (name.empty()) return "没有名称（name 列为空）";
    const std::string shown = "名称" + quotedText(name);
    if (name == "." || name == "..") return shown + "不能作文件名";
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return shown + "含有不能用于文件名的字符";
    if (hasInvisibleMarks(name)) return shown + "含有控制字符或方向标记";
    if (name.back() == '.' || name.back() == ' ') return shown + "以点或空格结尾（Windows 会去掉它们）";
    if (isDeviceName(name)) return shown + "是 Windows 的设备名，不能作文件名";
    return std::nullopt;
}

// An output of the batch, written whole or not at all (a temporary file renamed over it), as a
// plain file of DIR: a link found in its place is replaced, never written through, so that
// nothing outside DIR is touched.
void writeOutput(const fs::path& path, const std::string& bytes) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error)) && !fs::remove(path, error))
        throw wallfile::WriteError("无法替换符号链接 " + wallfile::displayName(path) + "：" + error.message());
    wallfile::writeAtomically(path, bytes);
}

// A number as a spreadsheet reads it: an optional sign, digits with at most one point, an
// optional exponent.
bool isPlainNumber(std::string_view cell) {
    std::size_t i = 0, digits = 0;
    if (i < cell.size() && (cell[i] == '+' || cell[i] == '-')) ++i;
    bool point = false;
    for (; i < cell.size(); ++i) {
        if (cell[i] >= '0' && cell[i] <= '9') {
            ++digits;
        } else if (cell[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < cell.size() && (cell[i] == 'e' || cell[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < cell.size() && (cell[j] == '+' || cell[j] == '-')) ++j;
        const std::size_t first = j;
        while (j < cell.size() && cell[j] >= '0' && cell[j] <= '9') ++j;
        if (j == first) return false;
        i = j;
    }
    return i == cell.size();
}

// A cell a spreadsheet would run as a formula (= + - @, a tab or a carriage return first) gets a
// leading ' and stays text; a number with its sign ("-5.5") is a number and stays as it is.
std::string spreadsheetCell(std::string cell) {
    if (!cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos && !isPlainNumber(cell))
        cell.insert(0, 1, '\'');
    return cell;
}

struct UsageError {
    std::string message;
};
struct Help {};

struct BatchRequest {
    fs::path input, outDir;
    std::optional<DocumentFormat> documents;
};

BatchRequest parseArguments(const std::vector<std::string>& args) {
    std::optional<fs::path> input, outDir;
    std::optional<DocumentFormat> documents;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            throw Help{};
        } else if (arg == "--out") {
            if (++i >= args.size()) throw UsageError{"--out needs a directory"};
            outDir = fs::u8path(args[i]);
        } else if (arg == "--documents") {
            if (++i >= args.size()) throw UsageError{"--documents needs pdf, docx or odt"};
            documents = formatFromName(args[i]);
            if (!documents) throw UsageError{"--documents takes pdf, docx or odt, not '" + args[i] + "'"};
        } else if (!input && !arg.starts_with("--")) {
            input = fs::u8path(arg);
        } else {
            throw UsageError{"unknown argument '" + arg + "'"};
        }
    }
    if (!input) throw UsageError{"no WALLS.csv given"};
    if (!outDir) throw UsageError{"no --out DIR given"};
    return {*input, *outDir, documents};
}

// The columns the header row names: "name" once, fields and review options.
std::vector<Column> readHeader(const CsvRecord& header) {
    std::vector<Column> columns;
    bool hasName = false;
    std::set<std::string> seen;
    for (const std::string& title : header.cells) {
        if (!seen.insert(title).second) throw UsageError{"column '" + title + "' given twice"};
        if (title == "name") {
            columns.push_back({Column::Kind::Name, {}, {}});
            hasName = true;
        } else if (std::optional<Field> field = fieldFromName(title)) {
            columns.push_back({Column::Kind::Field, *field, {}});
        } else if (wallfile::isOptionKey(title)) {
            columns.push_back({Column::Kind::Option, {}, title});
        } else {
            throw UsageError{"unknown column '" + title + "' (a field name such as Text1, an option or name)"};
        }
    }
    if (!hasName) throw UsageError{"the header row has no column 'name'"};
    return columns;
}

// The rows of the table after its header.
struct Table {
    std::vector<Column> columns;
    std::vector<CsvRecord> rows;
};

Table readTable(const fs::path& input) {
    std::string text;
    try {
        text = wallfile::readWholeFile(input);
    } catch (const wallfile::ReadFailure& error) {
        throw UsageError{error.what()};
    }
    // A table saved by a Chinese spreadsheet is GB18030: read it as such, so that summary.csv and
    // every JSON hold UTF-8 alone.
    if (!isUtf8(text)) {
        std::optional<std::string> decoded = utf8FromGb18030(text);
        if (!decoded)
            throw UsageError{wallfile::displayName(input) + " is neither UTF-8 nor GB18030: save it as CSV UTF-8"};
        std::cerr << "wallcalc-cli: batch: " << wallfile::displayName(input)
                  << " is not UTF-8: read as GB18030 (GBK)\n";
        text = std::move(*decoded);
    }
    std::vector<CsvRecord> records = readCsv(text);
    if (records.empty()) throw UsageError{wallfile::displayName(input) + " is empty: a header row is needed"};
    if (!records[0].problem.empty()) throw UsageError{"the header row: " + records[0].problem};
    Table table{readHeader(records[0]), {}};
    table.rows.assign(std::make_move_iterator(records.begin() + 1), std::make_move_iterator(records.end()));
    return table;
}

// The section groups of the summary: every section any wall of the batch has, by its place from
// the top (topDown).
using SectionGroups = std::vector<int>;

std::string summaryHeader(const std::vector<std::string>& names) {
    std::vector<std::string> titles{"name"};
    for (const SummaryColumn& c : kSummaryFields) titles.push_back(c.title);
    for (const std::string& section : names)
        for (const char* what : kSectionColumns) titles.push_back(section + " " + what);
    titles.insert(titles.end(), {"shear", "warnings", "error"});
    return csvLine(titles);
}

// One wall of the table, as it goes through: read from its row, computed, written.
struct WallRun {
    std::string name;
    FieldSet fields;
    wallfile::OptionTexts options;
    std::string problem;  // what went wrong, empty while nothing did
    bool ran = false;     // the row was good and the actions ran
    std::optional<Fault> fault;
    std::string_view failedAction;
    std::optional<ReviewOutcome> review;

    // Whether the four buttons' results stand (the review alone may have refused the wall).
    bool computed() const { return ran && (!fault || failedAction == "review"); }
    void addProblem(const std::string& what) { problem += (problem.empty() ? "" : "; ") + what; }
};

// The row's cells into a wall, the name checked against the names before it.
WallRun readRow(const CsvRecord& record, const std::vector<Column>& columns, std::set<std::string>& names) {
    WallRun wall;
    if (!record.problem.empty()) {
        wall.problem = record.problem;
        return wall;
    }
    if (record.cells.size() != columns.size()) {
        wall.problem =
            std::to_string(record.cells.size()) + " 个单元格，而标题行有 " + std::to_string(columns.size()) + " 个";
        return wall;
    }
    for (std::size_t c = 0; wall.problem.empty() && c < columns.size(); ++c) {
        const std::string& cell = record.cells[c];
        switch (columns[c].kind) {
            case Column::Kind::Name: wall.name = cell; break;
            case Column::Kind::Field:
                if (!cell.empty()) wall.fields.setText(columns[c].field, cell);
                break;
            case Column::Kind::Option:
                if (cell.empty()) break;
                try {
                    wall.options.set(columns[c].key, cell);
                } catch (const FaultError& e) {
                    wall.problem = e.fault().what;
                }
                break;
        }
    }
    if (wall.problem.empty()) {
        if (std::optional<std::string> bad = badName(wall.name))
            wall.problem = *bad;
        else if (!names.insert(folded(wall.name)).second)
            wall.problem = "名称" + quotedText(wall.name) + "与前面的一行重复（不分大小写）";
    }
    return wall;
}

// 强度计算, 裂缝计算 and 生成计算书 as the window's buttons run them, then the review. The review
// refusing the wall (an option or an input it cannot take) leaves what the four buttons gave.
void compute(WallRun& wall) {
    static const std::pair<std::string_view, Action> kSteps[] = {
        {"strength", strengthCalculation}, {"crack", crackWidthCheck}, {"report", composeReport}};
    wall.ran = true;
    for (const auto& [stepName, action] : kSteps) {
        wall.fault = runAtomically(wall.fields, action);
        if (wall.fault) {
            wall.failedAction = stepName;
            wall.problem = std::string(stepName) + ": " + faultText(*wall.fault);
            return;
        }
    }
    try {
        wall.review = reviewOf(wall.fields, wall.options);
    } catch (const FaultError& e) {
        wall.fault = e.fault();
        wall.failedAction = "review";
        wall.problem = "review: " + faultText(*wall.fault);
    }
}

// NAME.json, and with --documents the 计算书 and the 复核计算书 of a wall the buttons took.
void writeOutputs(WallRun& wall, const BatchRequest& request, std::unique_ptr<DocumentSaver>& saver) {
    try {
        nlohmann::ordered_json json;
        json["name"] = wall.name;
        json["fields"] = fieldsJson(wall.fields);
        if (wall.review) json["review"] = wall.review->json;
        json["fault"] = faultJson(wall.fault, wall.failedAction);
        writeOutput(request.outDir / fs::u8path(wall.name + ".json"), oneLineJson(json) + "\n");
        if (request.documents && wall.computed()) {
            if (!saver) saver = makePlatformOffice();
            const std::string extension = "." + std::string(formatName(*request.documents));
            saver->saveReport(wall.fields.text(Field::Text29),
                              request.outDir / fs::u8path(wall.name + ".report" + extension), *request.documents);
            if (wall.review) {
                const report::book::Document book = reviewBook(wall.review->result, localDate(), wall.name);
                saver->saveBook({report::book::bookJson(book), report::book::plainText(book)},
                                request.outDir / fs::u8path(wall.name + ".review" + extension), *request.documents);
            }
        }
    } catch (const FaultError& e) {
        wall.addProblem("documents: " + faultText(e.fault()));
    } catch (const std::exception& e) {
        wall.addProblem(e.what());
    }
}

// The wall's line of summary.csv: results only where all three actions ran, the inputs as the
// row gave them, a section group empty where the wall has no such section.
std::string summaryLine(const WallRun& wall, const SectionGroups& groups) {
    std::vector<std::string> row{wall.name};
    for (const SummaryColumn& c : kSummaryFields)
        row.push_back(wall.computed() || isInput(c.field) ? wall.fields.text(c.field) : std::string());
    for (int group : groups) {
        const SectionCells* found = nullptr;
        if (wall.review)
            for (const SectionCells& s : wall.review->sections)
                if (topDown(s.kind, s.storey) == group) found = &s;
        for (std::size_t k = 0; k < std::size(kSectionColumns); ++k)
            row.push_back(found ? found->cells[k] : std::string());
    }
    row.push_back(wall.review ? wall.review->shear : std::string());
    row.push_back(wall.review ? wall.review->warnings : std::string());
    row.push_back(wall.problem);
    // Written out as messages are (a direction mark would reverse the row where it is shown), and
    // never run as a formula.
    for (std::string& cell : row) cell = spreadsheetCell(shownText(cell));
    return csvLine(row);
}

}  // namespace

int runBatch(const std::vector<std::string>& args) {
    BatchRequest request;
    Table table;
    try {
        request = parseArguments(args);
        table = readTable(request.input);
    } catch (const UsageError& error) {
        return usage(error.message);
    } catch (const Help&) {
        std::cout << kUsage << "\n(see wallcalc-cli --help)\n";
        return 0;
    }
    std::error_code error;
    fs::create_directories(request.outDir, error);
    if (error) return usage("cannot create " + wallfile::displayName(request.outDir) + ": " + error.message());

    std::vector<WallRun> walls;
    const bool progress = stderrIsTerminal();
    std::unique_ptr<DocumentSaver> saver;
    std::set<std::string> names;
    int failed = 0;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const CsvRecord& record = table.rows[r];
        WallRun wall = readRow(record, table.columns, names);
        if (wall.problem.empty()) {
            compute(wall);
            writeOutputs(wall, request, saver);
        }
        if (!wall.problem.empty()) {
            ++failed;
            std::cerr << (progress ? "\r\033[K" : "") << "wallcalc-cli: batch: row " << record.line
                      << (wall.name.empty() ? std::string() : " (" + shownText(wall.name) + ")") << ": "
                      << shownText(wall.problem) << "\n";
        }
        if (progress) std::cerr << "\r" << r + 1 << "/" << table.rows.size() << " walls" << std::flush;
        // The summary's header needs every wall's sections.
        walls.push_back(std::move(wall));
    }
    if (progress) std::cerr << "\n";

    std::map<int, std::string> order;  // the sections' places from the top, and their names
    for (const WallRun& wall : walls)
        if (wall.review)
            for (const SectionCells& s : wall.review->sections) order.emplace(topDown(s.kind, s.storey), s.name);
    SectionGroups groups;
    std::vector<std::string> sectionNames;
    for (const auto& [at, name] : order) {
        groups.push_back(at);
        sectionNames.push_back(name);
    }
    std::string summary = summaryHeader(sectionNames);
    for (const WallRun& wall : walls) summary += summaryLine(wall, groups);

    try {
        writeOutput(request.outDir / "summary.csv", summary);
    } catch (const wallfile::WriteError& e) {
        std::cerr << "wallcalc-cli: batch: " << e.what() << "\n";
        return 2;
    }
    return failed > 0 ? 3 : 0;
}

}  // namespace wallcalc::cli
