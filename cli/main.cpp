// wallcalc-cli: the actions of the window on field texts, without the window.
//
//   wallcalc-cli [--input FILE.wall] [--set NAME=TEXT]... [--print NAME] [ACTION]... [--option KEY=VALUE]...
//                [--report] [--save-report FILE]
//   wallcalc-cli batch WALLS.csv --out DIR [--documents pdf|docx|odt]      (see cli/batch.h)
//
// Starts from the default texts, or from the wall file given with --input, applies the --set
// texts, runs the actions (strength, crack, report, export, review) in the order given and prints
// every field as one JSON object, or with --print just that field's text. The review writes no
// field: its result is the "review" key beside "fields" and "fault", with the wall file's options
// and then the --option settings applied in the order given; with --report the review's report
// (复核计算书, UTF-8, CR LF line ends) is printed instead of the JSON. --save-report saves the report box,
// once the actions ran, as a .pdf, .docx or .odt file (by its extension) without showing the word
// processor. A fault stops at the failing action, which changes nothing: exit status 3, and no
// "review" key. A usage error: a one-line message on stderr, exit status 2. Anything else that
// goes wrong (a defect, memory) never aborts: a one-line message on stderr, the fields printed as
// they stood, exit status 4.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/crack.h"
#include "calc/strength.h"
#include "cli/batch.h"
#include "cli/console.h"
#include "cli/date.h"
#include "cli/json.h"
#include "core/action.h"
#include "core/field_read.h"
#include "core/guard.h"
#include "core/json_line.h"
#include "core/shown_text.h"
#include "office/office.h"
#include "report/compose.h"
#include "report/review_compose.h"
#include "review/review.h"
#include "wallfile/wallfile.h"

namespace {

using namespace wallcalc;
namespace fs = std::filesystem;

constexpr int kDone = 0;
constexpr int kUsageError = 2;
constexpr int kFaultStatus = 3;
constexpr int kInternalError = 4;

struct UsageError {
    std::string message;
};

int usage(const std::string& message) {
    std::cerr << "wallcalc-cli: " << shownText(message)
              << " (usage: wallcalc-cli [--set NAME=TEXT]... [--print NAME] [strength|crack|report|export|review]..."
                 " [--option KEY=VALUE]... [--report])\n";
    return kUsageError;
}

// What the command line asks for.
struct Request {
    std::vector<fs::path> walls;                               // --input, in the order given
    std::vector<std::pair<Field, std::string>> sets;           // --set, in the order given
    std::optional<Field> print;                                // --print
    std::vector<std::string_view> actions;                     // in the order given
    std::vector<std::pair<std::string, std::string>> options;  // --option, in the order given
    std::optional<fs::path> saveReport;                        // --save-report
    bool reviewReport = false;                                 // --report: the review's report, not the JSON
};

bool isAction(std::string_view name) {
    for (std::string_view action : {"strength", "crack", "report", "export", "review"})
        if (name == action) return true;
    return false;
}

// NAME=TEXT of --set and KEY=VALUE of --option.
std::pair<std::string_view, std::string_view> assignment(std::string_view arg, const std::string& option,
                                                         const std::string& form) {
    const std::size_t equals = arg.find('=');
    if (equals == std::string_view::npos)
        throw UsageError{option + " needs " + form + ", got '" + std::string(arg) + "'"};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
}

Request parseArguments(const std::vector<std::string_view>& args) {
    Request request;
    auto value = [&](std::size_t& i, const std::string& missing) {
        if (++i >= args.size()) throw UsageError{missing};
        return args[i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--set") {
            const auto [name, text] = assignment(value(i, "--set needs NAME=TEXT"), "--set", "NAME=TEXT");
            const std::optional<Field> field = fieldFromName(name);
            if (!field) throw UsageError{"unknown field '" + std::string(name) + "'"};
            request.sets.emplace_back(*field, text);
        } else if (arg == "--print") {
            const std::string_view name = value(i, "--print needs a field name");
            request.print = fieldFromName(name);
            if (!request.print) throw UsageError{"unknown field '" + std::string(name) + "'"};
        } else if (arg == "--input") {
            request.walls.push_back(fs::u8path(value(i, "--input needs a wall file")));
        } else if (arg == "--save-report") {
            const std::string_view name = value(i, "--save-report needs a file name");
            if (!documentFormatOf(fs::u8path(name)))
                throw UsageError{"--save-report saves .pdf, .docx or .odt, not '" + std::string(name) + "'"};
            request.saveReport = fs::u8path(name);
        } else if (arg == "--option") {
            const auto [key, text] = assignment(value(i, "--option needs KEY=VALUE"), "--option", "KEY=VALUE");
            request.options.emplace_back(key, text);
        } else if (arg == "--report") {
            request.reviewReport = true;
        } else if (isAction(arg)) {
            request.actions.push_back(arg);
        } else {
            throw UsageError{"unknown action or option '" + std::string(arg) + "'"};
        }
    }
    const bool reviewAsked =
        std::find(request.actions.begin(), request.actions.end(), "review") != request.actions.end();
    if (!request.options.empty() && !reviewAsked) throw UsageError{"--option belongs to the review action"};
    if (request.reviewReport && !reviewAsked) throw UsageError{"--report belongs to the review action"};
    if (request.reviewReport && request.print) throw UsageError{"--report and --print each choose what is printed"};
    return request;
}

// The wall the actions start from: the defaults, or the wall files given, each read in turn, so
// that the last one counts. Throws WallFileError.
wallfile::Wall startingWall(const Request& request) {
    wallfile::Wall wall;
    for (const fs::path& path : request.walls) wall = wallfile::load(path);
    return wall;
}

struct NamedAction {
    std::string_view name;
    Action run;
};

// What the review leaves: its JSON, and with --report its report.
struct ReviewOut {
    std::optional<nlohmann::ordered_json> json;
    std::string report;
};

// The actions asked for, then the report saved where --save-report asks. The review writes no
// field: it leaves its JSON (and report) in `reviewOut`, read with the wall file's options and
// then the --option settings.
std::vector<NamedAction> actionsOf(const Request& request, const wallfile::OptionTexts& wallOptions,
                                   ReviewOut& reviewOut) {
    std::vector<std::pair<std::string, std::string>> reviewOptions = wallOptions.entries();
    reviewOptions.insert(reviewOptions.end(), request.options.begin(), request.options.end());
    std::vector<NamedAction> actions;
    for (std::string_view name : request.actions) {
        if (name == "strength") actions.push_back({name, strengthCalculation});
        if (name == "crack") actions.push_back({name, crackWidthCheck});
        if (name == "report") actions.push_back({name, composeReport});
        if (name == "export")
            actions.push_back({name, [](FieldSet& f) {
                                   requireCurrent(f, Field::Text29);
                                   makePlatformOffice()->exportReport(f.text(Field::Text29));
                               }});
        if (name == "review")
            actions.push_back({name, [reviewOptions, &reviewOut, report = request.reviewReport](FieldSet& f) {
                                   review::Options options;
                                   for (const auto& [key, text] : reviewOptions) review::setOption(options, key, text);
                                   const review::Result result = review::reviewWall(f, options);
                                   reviewOut.json = review::reviewJsonTree(result);
                                   if (report) reviewOut.report = reviewReportText(result, cli::localDate());
                               }});
    }
    if (const std::optional<fs::path> path = request.saveReport)
        actions.push_back({"save-report", [path](FieldSet& f) {
                               requireCurrent(f, Field::Text29);
                               makePlatformOffice()->saveReport(f.text(Field::Text29), *path, *documentFormatOf(*path));
                           }});
    return actions;
}

struct Outcome {
    std::optional<Fault> fault;
    std::string_view failedAction;
    std::optional<std::string> unexpected;  // the action and what went wrong
};

// The actions in turn, each all or nothing; a fault or anything unexpected stops the rest.
Outcome runActions(FieldSet& fields, const std::vector<NamedAction>& actions) {
    Outcome outcome;
    for (const NamedAction& action : actions) {
        if (std::optional<std::string> failure =
                unexpectedFailure([&] { outcome.fault = runAtomically(fields, action.run); })) {
            outcome.unexpected = std::string(action.name) + ": " + *failure;
            std::cerr << "wallcalc-cli: internal error in " << *outcome.unexpected << "\n";
            break;
        }
        if (outcome.fault) {
            outcome.failedAction = action.name;
            break;
        }
    }
    return outcome;
}

void print(const Request& request, const FieldSet& fields, const Outcome& outcome, const ReviewOut& review) {
    if (request.reviewReport && review.json && !outcome.fault && !outcome.unexpected) {
        std::cout << review.report;
    } else if (request.print) {
        // A result that is not current is a placeholder or belongs to other inputs: it is not
        // printed, lest a script take it for the answer.
        const Field field = *request.print;
        if (fields.isCurrent(field))
            std::cout << fields.text(field);
        else if (!outcome.fault)
            std::cerr << "wallcalc-cli: " << fieldName(field) << " is not current: 请先按“"
                      << buttonCaption(*pressOf(field)) << "”\n";
        if (outcome.fault)
            std::cerr << "wallcalc-cli: " << outcome.failedAction << ": " << shownText(cli::faultText(*outcome.fault))
                      << "\n";
    } else {
        nlohmann::ordered_json json;
        json["fields"] = cli::fieldsJson(fields);
        json["fault"] = cli::faultJson(outcome.fault, outcome.failedAction);
        if (review.json && !outcome.fault && !outcome.unexpected) json["review"] = *review.json;
        std::cout << oneLineJson(json) << "\n";
    }
    std::cout.flush();
}

// --help and -h: every action and option, on standard output.
constexpr const char* kHelp =
    "usage: wallcalc-cli [--input FILE.wall] [--set NAME=TEXT]... [--print NAME] [ACTION]...\n"
    "                    [--option KEY=VALUE]... [--report] [--save-report FILE.pdf|.docx|.odt]\n"
    "       wallcalc-cli batch WALLS.csv --out DIR [--documents pdf|docx|odt]\n"
    "       wallcalc-cli --help | --version\n"
    "\n"
    "Runs the window's buttons on field texts and prints every field as JSON.\n"
    "\n"
    "actions, run in the order given:\n"
    "  strength     强度计算: loads, moments, steel areas\n"
    "  crack        裂缝计算: crack width and verdict (needs a current Text24)\n"
    "  report       生成计算书: the report into Text29 (needs every result current)\n"
    "  export       计算书保存: the report handed to the word processor\n"
    "  review       复核 by the codes in force; its result is the \"review\" key\n"
    "\n"
    "options:\n"
    "  --input FILE.wall      start from a wall file instead of the window's defaults\n"
    "  --set NAME=TEXT        put TEXT into field NAME (Text1 ... Text29, Combo1)\n"
    "  --print NAME           print only that field's text (nothing for a result not current)\n"
    "  --option KEY=VALUE     a review option (the keys below)\n"
    "  --report               with review: print the review report (复核计算书) instead of the JSON\n"
    "  --save-report FILE     save the report made by the actions as .pdf, .docx or .odt\n"
    "  -h, --help             this text\n"
    "  --version              the program's version\n"
    "\n"
    "exit status: 0 done, 2 usage error, 3 a fault (in the JSON), 4 an internal error\n"
    "\n"
    "review options:";

std::string helpText() {
    std::string text = kHelp;
    for (std::string_view key : review::optionKeys()) text += " " + std::string(key);
    return text + "\n";
}

int run(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "batch") return cli::runBatch({argv + 2, argv + argc});
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << helpText() << std::flush;
            return kDone;
        }
        if (arg == "--version") {
            std::cout << "wallcalc-cli " << WALLCALC_VERSION << "\n" << std::flush;
            return kDone;
        }
        if (arg == "--set" || arg == "--print" || arg == "--input" || arg == "--option" || arg == "--save-report") ++i;
    }

    Request request;
    try {
        request = parseArguments({argv + 1, argv + argc});
    } catch (const UsageError& error) {
        return usage(error.message);
    }

    wallfile::Wall wall;
    try {
        wall = startingWall(request);
    } catch (const wallfile::WallFileError& error) {
        std::cerr << "wallcalc-cli: " << shownText(error.what()) << "\n";
        return kUsageError;
    }
    FieldSet& fields = wall.fields;
    for (const auto& [field, text] : request.sets) fields.setText(field, text);

    ReviewOut review;
    const Outcome outcome = runActions(fields, actionsOf(request, wall.options, review));

    print(request, fields, outcome, review);
    if (outcome.unexpected) return kInternalError;
    return outcome.fault ? kFaultStatus : kDone;
}

}  // namespace

int main(int argc, char** argv) {
    cli::useUtf8Console(argc, argv);
    int status = kInternalError;
    if (const std::optional<std::string> failure = unexpectedFailure([&] { status = run(argc, argv); })) {
        std::cerr << "wallcalc-cli: internal error: " << *failure << "\n";
        return kInternalError;
    }
    return status;
}
