#include "cli/batch.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
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
#include "cli/json.h"
#include "core/action.h"
#include "office/office.h"
#include "report/compose.h"
#include "report/review_compose.h"
#include "review/review.h"
#include "wallfile/atomic_write.h"
#include "wallfile/options.h"

namespace wallcalc::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "usage: wallcalc-cli batch WALLS.csv --out DIR [--documents pdf|docx|odt]";

int usage(const std::string& message) {
    std::cerr << "wallcalc-cli: batch: " << message << " (" << kUsage << ")\n";
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
constexpr const char* kReviewSections[] = {"base", "span", "top"};

// The review of one wall, for its JSON and its summary columns (As,req, w of the given bars,
// their verdict and the first recommended bars, for base, span and top).
struct ReviewOutcome {
    review::Result result;
    std::string json;                  // the value of "review"
    std::vector<std::string> columns;  // 4 per section
};
ReviewOutcome reviewOf(const FieldSet& fields, const wallfile::OptionTexts& texts) {
    review::Options options;
    for (const auto& [key, text] : texts.entries()) review::setOption(options, key, text);
    ReviewOutcome outcome{review::reviewWall(fields, options), {}, {}};
    const review::Result& result = outcome.result;
    outcome.json = review::reviewJson(result);
    auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.4g", value);
        return std::string(text);
    };
    for (const char* name : kReviewSections) {
        const review::Section* section = nullptr;
        for (const review::Section& s : result.sections)
            if (s.name == name) section = &s;
        if (!section) {
            outcome.columns.insert(outcome.columns.end(), 4, std::string());
            continue;
        }
        outcome.columns.push_back(section->AsReq ? number(*section->AsReq) : section->note);
        outcome.columns.push_back(number(section->given.w));
        outcome.columns.push_back(section->given.ok ? "满足" : "不满足");
        outcome.columns.push_back(section->choice.empty() ? std::string()
                                                          : "Φ" + std::to_string(section->choice[0].d) + "@" +
                                                                std::to_string(section->choice[0].s));
    }
    return outcome;
}

bool isInput(Field field) {
    for (Field f : {Field::Text5, Field::Text7, Field::Text15, Field::Text18})
        if (f == field) return false;
    return true;
}

std::string fieldsJson(const FieldSet& fields) {
    std::string out = "{";
    for (Field field : allFields()) {
        if (out.size() > 1) out += ", ";
        out += jsonString(fieldName(field)) + ": " + jsonString(fields.text(field));
    }
    return out + "}";
}

std::string faultJson(const Fault& fault, std::string_view action) {
    return "{\"number\": " + std::to_string(fault.number) + ", \"description\": " + jsonString(fault.description) +
           ", \"action\": " + jsonString(action) + ", \"what\": " + jsonString(fault.what) + "}";
}

// A name that is one plain file name on every system.
std::optional<std::string> badName(const std::string& name) {
    if (name.empty()) return "没有名称（name 列为空）";
    if (name == "." || name == "..") return "名称 " + name + " 不能作文件名";
    for (unsigned char c : name)
        if (c < 0x20 || std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return "名称 " + name + " 含有不能用于文件名的字符";
    return std::nullopt;
}

// Today's date as the review report prints it ("2024-05-01"), on this computer's calendar.
std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::string faultText(const Fault& fault) {
    return std::to_string(fault.number) + " " + fault.description + ": " + fault.what;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) throw wallfile::WriteError("无法写入文件 " + wallfile::displayName(path));
}

}  // namespace

int runBatch(const std::vector<std::string>& args) {
    std::optional<fs::path> input, outDir;
    std::optional<DocumentFormat> documents;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--out") {
            if (++i >= args.size()) return usage("--out needs a directory");
            outDir = fs::u8path(args[i]);
        } else if (arg == "--documents") {
            if (++i >= args.size()) return usage("--documents needs pdf, docx or odt");
            documents = formatFromName(args[i]);
            if (!documents) return usage("--documents takes pdf, docx or odt, not '" + args[i] + "'");
        } else if (!input && !arg.starts_with("--")) {
            input = fs::u8path(arg);
        } else {
            return usage("unknown argument '" + arg + "'");
        }
    }
    if (!input) return usage("no WALLS.csv given");
    if (!outDir) return usage("no --out DIR given");

    std::string text;
    try {
        text = wallfile::readWholeFile(*input);
    } catch (const wallfile::ReadFailure& error) {
        return usage(error.what());
    }
    const std::vector<CsvRecord> records = readCsv(text);
    if (records.empty()) return usage(wallfile::displayName(*input) + " is empty: a header row is needed");

    std::vector<Column> columns;
    bool hasName = false;
    std::set<std::string> seen;
    for (const std::string& title : records[0].cells) {
        if (!seen.insert(title).second) return usage("column '" + title + "' given twice");
        if (title == "name") {
            columns.push_back({Column::Kind::Name, {}, {}});
            hasName = true;
        } else if (std::optional<Field> field = fieldFromName(title)) {
            columns.push_back({Column::Kind::Field, *field, {}});
        } else if (wallfile::isOptionKey(title)) {
            columns.push_back({Column::Kind::Option, {}, title});
        } else {
            return usage("unknown column '" + title + "' (a field name such as Text1, an option or name)");
        }
    }
    if (!hasName) return usage("the header row has no column 'name'");

    std::error_code error;
    fs::create_directories(*outDir, error);
    if (error) return usage("cannot create " + wallfile::displayName(*outDir) + ": " + error.message());

    std::vector<std::string> summaryHeader{"name"};
    for (const SummaryColumn& c : kSummaryFields) summaryHeader.push_back(c.title);
    for (const char* section : kReviewSections)
        for (const char* what : {"As,req", "w", "verdict", "bars"})
            summaryHeader.push_back(std::string(section) + " " + what);
    summaryHeader.push_back("error");
    std::string summary = csvLine(summaryHeader);

    const bool progress = stderrIsTerminal();
    const std::size_t total = records.size() - 1;
    std::unique_ptr<DocumentSaver> saver;
    std::set<std::string> names;
    int failed = 0;

    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        FieldSet fields;
        wallfile::OptionTexts options;
        std::string name, problem;
        std::optional<Fault> fault;
        std::string_view failedAction;
        if (record.cells.size() != columns.size()) {
            problem =
                std::to_string(record.cells.size()) + " 个单元格，而标题行有 " + std::to_string(columns.size()) + " 个";
        }
        for (std::size_t c = 0; problem.empty() && c < columns.size(); ++c) {
            const std::string& cell = record.cells[c];
            switch (columns[c].kind) {
                case Column::Kind::Name: name = cell; break;
                case Column::Kind::Field:
                    if (!cell.empty()) fields.setText(columns[c].field, cell);
                    break;
                case Column::Kind::Option:
                    if (cell.empty()) break;
                    try {
                        options.set(columns[c].key, cell);
                    } catch (const FaultError& e) {
                        problem = e.fault().what;
                    }
                    break;
            }
        }
        if (problem.empty()) {
            if (std::optional<std::string> bad = badName(name))
                problem = *bad;
            else if (!names.insert(name).second)
                problem = "名称 " + name + " 与前面的一行重复";
        }

        std::optional<ReviewOutcome> review;
        const bool ran = problem.empty();
        if (ran) {
            static const std::pair<std::string_view, Action> kSteps[] = {
                {"strength", strengthCalculation}, {"crack", crackWidthCheck}, {"report", composeReport}};
            for (const auto& [stepName, action] : kSteps) {
                fault = runAtomically(fields, action);
                if (fault) {
                    failedAction = stepName;
                    problem = std::string(stepName) + ": " + faultText(*fault);
                    break;
                }
            }
            // The review refusing the wall (an option or an input it cannot take) leaves what the
            // four buttons gave: their JSON and their 计算书, with the review's fault in the JSON.
            if (!fault) {
                try {
                    review = reviewOf(fields, options);
                } catch (const FaultError& e) {
                    fault = e.fault();
                    failedAction = "review";
                    problem = "review: " + faultText(*fault);
                }
            }
            try {
                std::string json = "{\"name\": " + jsonString(name) + ", \"fields\": " + fieldsJson(fields);
                if (review) json += ", \"review\": " + review->json;
                json += ", \"fault\": " + (fault ? faultJson(*fault, failedAction) : std::string("null")) + "}\n";
                writeFile(*outDir / fs::u8path(name + ".json"), json);
                if (documents && (!fault || failedAction == "review")) {
                    if (!saver) saver = makePlatformOffice();
                    const std::string extension = "." + std::string(formatName(*documents));
                    saver->saveReport(fields.text(Field::Text29), *outDir / fs::u8path(name + ".report" + extension),
                                      *documents);
                    if (review)
                        saver->saveReport(reviewReportText(review->result, today()),
                                          *outDir / fs::u8path(name + ".review" + extension), *documents);
                }
            } catch (const FaultError& e) {
                problem += (problem.empty() ? "" : "; ") + std::string("documents: ") + faultText(e.fault());
            } catch (const std::exception& e) {
                problem += (problem.empty() ? "" : "; ") + std::string(e.what());
            }
        }

        // Results only where all three actions ran; the inputs as the row gave them.
        const bool computed = ran && (!fault || failedAction == "review");
        std::vector<std::string> row{name};
        for (const SummaryColumn& c : kSummaryFields)
            row.push_back(computed || isInput(c.field) ? fields.text(c.field) : std::string());
        for (std::size_t k = 0; k < std::size(kReviewSections) * 4; ++k)
            row.push_back(review && k < review->columns.size() ? review->columns[k] : std::string());
        row.push_back(problem);
        summary += csvLine(row);

        if (!problem.empty()) {
            ++failed;
            std::cerr << (progress ? "\r\033[K" : "") << "wallcalc-cli: batch: row " << record.line
                      << (name.empty() ? std::string() : " (" + name + ")") << ": " << problem << "\n";
        }
        if (progress) std::cerr << "\r" << r << "/" << total << " walls" << std::flush;
    }
    if (progress) std::cerr << "\n";

    try {
        wallfile::writeAtomically(*outDir / "summary.csv", summary);
    } catch (const wallfile::WriteError& e) {
        std::cerr << "wallcalc-cli: batch: " << e.what() << "\n";
        return 2;
    }
    return failed > 0 ? 3 : 0;
}

}  // namespace wallcalc::cli
