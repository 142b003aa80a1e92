#include "core/json_line.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "core/utf8.h"

namespace wallcalc {
namespace {

using nlohmann::ordered_json;

// The text quoted, straight into `out`: runs that need nothing are copied whole; a byte that is
// not part of well-formed UTF-8 becomes U+FFFD; the quote and the backslash are escaped, \n, \r
// and \t by their letters, the other control characters and DEL as \u00xx, so that no terminal
// acts on one (backspace and form feed too, as this program has always written them).
void appendText(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    auto plain = [](unsigned char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; };
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        std::size_t run = i;
        while (run < text.size() && plain(static_cast<unsigned char>(text[run]))) ++run;
        out.append(text, i, run - i);
        if (run == text.size()) break;
        i = run;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8SequenceLength(text.substr(i));
            if (length == 0) {
                out += "\uFFFD";
                ++i;
            } else {
                out.append(text, i, length);
                i += length;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
        }
        ++i;
    }
    out += '"';
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
