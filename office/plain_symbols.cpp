#include "office/plain_symbols.h"

namespace wallcalc {
namespace {

struct Symbol {
    std::string_view privateUse, standard;
};

constexpr Symbol kSymbols[] = {
    {"\uE001", "\u03A6"},              // bar grade: Φ
    {"\uE010", "\u00B2"},              // ²
    {"\uE011", "\u00B3"},              // ³
    {"\uE020", "\u2081"},              // ₁
    {"\uE021", "\u2082"},              // ₂
    {"\uE030", "\u2070\u00B7\u2075"},  // ⁰·⁵
};

}  // namespace

std::string standardSymbols(std::string_view report) {
    std::string out;
    out.reserve(report.size() + 16);
    for (std::size_t i = 0; i < report.size();) {
        // Every private-use character of the report is three bytes starting EE 80.
        if (report.compare(i, 2, "\xEE\x80") == 0 && i + 3 <= report.size()) {
            bool replaced = false;
            for (const Symbol& symbol : kSymbols) {
                if (report.compare(i, 3, symbol.privateUse) == 0) {
                    out += symbol.standard;
                    replaced = true;
                    break;
                }
            }
            if (replaced) {
                i += 3;
                continue;
            }
        }
        out += report[i++];
    }
    return out;
}

}  // namespace wallcalc
