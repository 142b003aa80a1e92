// wallcalc-cli: the actions of the window on field texts, without the window.
//
//   wallcalc-cli [--input FILE.wall] [--set NAME=TEXT]... [--print NAME] [ACTION]... [--option KEY=VALUE]...
//                [--save-report FILE]
//   wallcalc-cli batch WALLS.csv --out DIR [--documents pdf|docx|odt]      (see cli/batch.h)
//
// Starts from the default texts, or from the wall file given with --input, applies the --set
// texts, runs the actions (strength, crack, report, export, review) in the order given and prints
// every field as one JSON object, or with --print just that field's text. The review writes no
// field: its result is the "review" key beside "fields" and "fault", with the wall file's options
// and then the --option settings applied in the order given. --save-report saves the report box,
// once the actions ran, as a .pdf, .docx or .odt file (by its extension) without showing the word
// processor. A fault stops at the failing action, which changes nothing: exit status 3, and no
// "review" key. A usage error: a one-line message on stderr, exit status 2. Anything else that
// goes wrong (a defect, memory) never aborts: a one-line message on stderr, the fields printed as
// they stood, exit status 4.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/crack.h"
#include "calc/strength.h"
#include "cli/batch.h"
#include "cli/console.h"
#include "cli/json.h"
#include "core/action.h"
#include "core/field_read.h"
#include "report/compose.h"
#include "report/export.h"
#include "report/export/document_saver.h"
#include "review/review.h"
#include "wallfile/wallfile.h"

namespace {

using namespace wallcalc;

struct NamedAction {
    std::string_view name;
    Action run;
};

std::optional<Action> actionByName(std::string_view name) {
    if (name == "strength") return Action(strengthCalculation);
    if (name == "crack") return Action(crackWidthCheck);
    if (name == "report") return Action(composeReport);
    if (name == "export")
        return Action([](FieldSet& fields) {
            requireCurrent(fields, Field::Text29);
            makePlatformExporter()->exportReport(fields.text(Field::Text29));
        });
    return std::nullopt;
}

int usage(const std::string& message) {
    std::cerr << "wallcalc-cli: " << message
              << " (usage: wallcalc-cli [--set NAME=TEXT]... [--print NAME] [strength|crack|report|export|review]..."
                 " [--option KEY=VALUE]...)\n";
    return 2;
}

std::string fieldsJson(const FieldSet& fields) {
    std::string out = "{";
    bool first = true;
    for (Field field : allFields()) {
        if (!first) out += ", ";
        first = false;
        out += cli::jsonString(fieldName(field)) + ": " + cli::jsonString(fields.text(field));
    }
    return out + "}";
}

std::string faultJson(const Fault& fault, std::string_view action) {
    return "{\"number\": " + std::to_string(fault.number) + ", \"description\": " + cli::jsonString(fault.description) +
           ", \"action\": " + cli::jsonString(action) + ", \"what\": " + cli::jsonString(fault.what) + "}";
}

constexpr int kInternalError = 4;

int run(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "batch") return cli::runBatch({argv + 2, argv + argc});

    FieldSet fields;
    // A wall file is read first, wherever it stands, so that every --set applies on top of it.
    // Its review options are kept for the review.
    wallfile::OptionTexts wallOptions;
    std::optional<std::string> saveReportTo;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) != "--input") continue;
        try {
            wallfile::Wall wall = wallfile::load(std::filesystem::u8path(argv[i + 1]));
            fields = wall.fields;
            wallOptions = wall.options;
        } catch (const wallfile::WallFileError& error) {
            std::cerr << "wallcalc-cli: " << error.what() << "\n";
            return 2;
        }
    }
    std::optional<Field> printField;
    std::vector<NamedAction> actions;

    // The review reads the fields as they stand when it runs and leaves its JSON here.
    std::vector<std::pair<std::string, std::string>> reviewOptions;
    std::optional<std::string> reviewOut;
    const Action runReview = [&](FieldSet& current) {
        review::Options options;
        for (const auto& [key, value] : reviewOptions) review::setOption(options, key, value);
        reviewOut = review::reviewJson(review::reviewWall(current, options));
    };
    bool reviewAsked = false;

    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--set") {
            if (++i >= argc) return usage("--set needs NAME=TEXT");
            std::string_view assignment = argv[i];
            std::size_t equals = assignment.find('=');
            if (equals == std::string_view::npos)
                return usage("--set needs NAME=TEXT, got '" + std::string(assignment) + "'");
            std::optional<Field> field = fieldFromName(assignment.substr(0, equals));
            if (!field) return usage("unknown field '" + std::string(assignment.substr(0, equals)) + "'");
            fields.setText(*field, std::string(assignment.substr(equals + 1)));
        } else if (arg == "--print") {
            if (++i >= argc) return usage("--print needs a field name");
            printField = fieldFromName(argv[i]);
            if (!printField) return usage("unknown field '" + std::string(argv[i]) + "'");
        } else if (arg == "--input") {
            if (++i >= argc) return usage("--input needs a wall file");
        } else if (arg == "--save-report") {
            if (++i >= argc) return usage("--save-report needs a file name");
            if (!documentFormatOf(std::filesystem::u8path(argv[i])))
                return usage("--save-report saves .pdf, .docx or .odt, not '" + std::string(argv[i]) + "'");
            saveReportTo = argv[i];
        } else if (arg == "--option") {
            if (++i >= argc) return usage("--option needs KEY=VALUE");
            std::string_view assignment = argv[i];
            std::size_t equals = assignment.find('=');
            if (equals == std::string_view::npos)
                return usage("--option needs KEY=VALUE, got '" + std::string(assignment) + "'");
            reviewOptions.emplace_back(assignment.substr(0, equals), assignment.substr(equals + 1));
        } else if (arg == "review") {
            actions.push_back({arg, runReview});
            reviewAsked = true;
        } else if (std::optional<Action> action = actionByName(arg)) {
            actions.push_back({arg, *action});
        } else {
            return usage("unknown action or option '" + std::string(arg) + "'");
        }
    }

    if (!reviewOptions.empty() && !reviewAsked) return usage("--option belongs to the review action");
    // The wall file's options come first, so that --option overrides them.
    reviewOptions.insert(reviewOptions.begin(), wallOptions.entries().begin(), wallOptions.entries().end());
    if (saveReportTo) {
        const std::filesystem::path path = std::filesystem::u8path(*saveReportTo);
        actions.push_back({"save-report", [path](FieldSet& f) {
                               requireCurrent(f, Field::Text29);
                               makePlatformSaver()->saveReport(f.text(Field::Text29), path, *documentFormatOf(path));
                           }});
    }

    std::optional<Fault> fault;
    std::string_view failedAction;
    std::string unexpected;
    for (const NamedAction& action : actions) {
        try {
            fault = runAtomically(fields, action.run);
        } catch (const std::exception& error) {
            unexpected = std::string(action.name) + ": " + error.what();
        } catch (...) {
            unexpected = std::string(action.name) + ": unknown exception";
        }
        if (!unexpected.empty()) break;
        if (fault) {
            failedAction = action.name;
            break;
        }
    }
    if (!unexpected.empty()) {
        for (char& c : unexpected)
            if (c == '\n' || c == '\r') c = ' ';
        std::cerr << "wallcalc-cli: internal error in " << unexpected << "\n";
    }

    if (printField) {
        // A result that is not current is a placeholder or belongs to other inputs: it is not
        // printed, lest a script take it for the answer.
        if (fields.isCurrent(*printField))
            std::cout << fields.text(*printField);
        else if (!fault)
            std::cerr << "wallcalc-cli: " << fieldName(*printField) << " is not current: 请先按“"
                      << buttonCaption(*pressOf(*printField)) << "”\n";
        if (fault)
            std::cerr << "wallcalc-cli: " << failedAction << ": " << fault->number << " " << fault->description << ": "
                      << fault->what << "\n";
    } else {
        std::cout << "{\"fields\": " << fieldsJson(fields)
                  << ", \"fault\": " << (fault ? faultJson(*fault, failedAction) : std::string("null"));
        if (reviewOut && !fault && unexpected.empty()) std::cout << ", \"review\": " << *reviewOut;
        std::cout << "}\n";
    }
    std::cout.flush();
    if (!unexpected.empty()) return kInternalError;
    return fault ? 3 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    cli::useUtf8Console(argc, argv);
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "wallcalc-cli: internal error: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "wallcalc-cli: internal error\n";
    }
    return kInternalError;
}
