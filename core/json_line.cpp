#include "core/json_line.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "core/utf8.h"

namespace wallcalc {
namespace {

using nlohmann::ordered_json;

// The library escapes a text's control characters; this program has always written backspace
// and form feed as \u escapes too, and DEL escaped, so that no terminal acts on one.
void appendText(std::string& out, std::string_view text) {
    const std::string quoted =
        ordered_json(withReplacementCharacters(text)).dump(-1, ' ', false, ordered_json::error_handler_t::strict);
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '\x7f') {
            out += "\\u007f";
        } else if (c == '\\' && i + 1 < quoted.size()) {
            const char escaped = quoted[++i];
            out += escaped == 'b' ? "\\u0008" : escaped == 'f' ? "\\u000c" : std::string{'\\', escaped};
        } else {
            out += c;
        }
    }
}

void appendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (value == 0) value = 0;  // no "-0"
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

void append(std::string& out, const ordered_json& value) {
    switch (value.type()) {
        case ordered_json::value_t::object: {
            out += '{';
            const char* separator = "";
            for (const auto& [name, member] : value.items()) {
                out += separator;
                separator = ", ";
                appendText(out, name);
                out += ": ";
                append(out, member);
            }
            out += '}';
            return;
        }
        case ordered_json::value_t::array: {
            out += '[';
            const char* separator = "";
            for (const ordered_json& item : value) {
                out += separator;
                separator = ", ";
                append(out, item);
            }
            out += ']';
            return;
        }
        case ordered_json::value_t::string: appendText(out, value.get_ref<const std::string&>()); return;
        case ordered_json::value_t::number_float: appendNumber(out, value.get<double>()); return;
        default: out += value.dump();  // null, true, false, integers
    }
}

}  // namespace

std::string oneLineJson(const nlohmann::ordered_json& value) {
    std::string out;
    append(out, value);
    return out;
}

}  // namespace wallcalc
