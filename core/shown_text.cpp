#include "core/shown_text.h"

#include <cstdio>

#include "core/utf8.h"

namespace wallcalc {
namespace {

bool isInvisible(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029;
}

}  // namespace

std::string shownText(std::string_view text) {
    if (isUtf8(text) && !hasInvisibleMarks(text)) return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0) {
            out += "\uFFFD";
            ++i;
            continue;
        }
        const char32_t c = utf8CodePoint(text.substr(i), length);
        if (isInvisible(c)) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "<U+%04X>", static_cast<unsigned>(c));
            out += escape;
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

bool hasInvisibleMarks(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0) {
            ++i;
            continue;
        }
        if (isInvisible(utf8CodePoint(text.substr(i), length))) return true;
        i += length;
    }
    return false;
}

std::string quotedText(std::string_view text) { return "“" + shownText(text) + "”"; }

}  // namespace wallcalc
