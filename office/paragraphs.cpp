#include "office/paragraphs.h"

namespace wallcalc {

std::string toParagraphText(std::string_view report) {
    if (report.ends_with("\r\n")) report.remove_suffix(2);
    std::string out;
    out.reserve(report.size());
    for (std::size_t i = 0; i < report.size(); ++i) {
        if (report[i] == '\r' && i + 1 < report.size() && report[i + 1] == '\n') {
            out += '\r';
            ++i;
        } else {
            out += report[i];
        }
    }
    return out;
}

}  // namespace wallcalc
