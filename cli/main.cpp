// wallcalc-cli: the actions of the window on field texts, without the window.
//
//   wallcalc-cli [--set NAME=TEXT]... [--print NAME] [ACTION]...
//
// Starts from the default texts, applies the --set texts, runs the actions (strength, crack,
// report, export) in the order given and prints every field as one JSON object, or with
// --print just that field's text. A fault stops at the failing action, which changes nothing:
// exit status 3. A usage error: a one-line message on stderr, exit status 2.

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/crack.h"
#include "calc/strength.h"
#include "cli/console.h"
#include "cli/json.h"
#include "core/action.h"
#include "report/compose.h"
#include "report/export.h"

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
        return Action([](FieldSet& fields) { makePlatformExporter()->exportReport(fields.text(Field::Text29)); });
    return std::nullopt;
}

int usage(const std::string& message) {
    std::cerr << "wallcalc-cli: " << message
              << " (usage: wallcalc-cli [--set NAME=TEXT]... [--print NAME] [strength|crack|report|export]...)\n";
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

}  // namespace

int main(int argc, char** argv) {
    cli::useUtf8Console(argc, argv);
    FieldSet fields;
    std::optional<Field> printField;
    std::vector<NamedAction> actions;

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
        } else if (std::optional<Action> action = actionByName(arg)) {
            actions.push_back({arg, *action});
        } else {
            return usage("unknown action or option '" + std::string(arg) + "'");
        }
    }

    std::optional<Fault> fault;
    std::string_view failedAction;
    for (const NamedAction& action : actions) {
        fault = runAtomically(fields, action.run);
        if (fault) {
            failedAction = action.name;
            break;
        }
    }

    if (printField) {
        std::cout << fields.text(*printField);
        if (fault)
            std::cerr << "wallcalc-cli: " << failedAction << ": " << fault->number << " " << fault->description << ": "
                      << fault->what << "\n";
    } else {
        std::cout << "{\"fields\": " << fieldsJson(fields)
                  << ", \"fault\": " << (fault ? faultJson(*fault, failedAction) : std::string("null")) << "}\n";
    }
    std::cout.flush();
    return fault ? 3 : 0;
}
