#include "tests/support/sample_report.h"

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/fields.h"
#include "report/compose.h"

namespace wallcalc::testing {

std::string sampleReport() {
    static const std::string text = [] {
        FieldSet fields;
        strengthCalculation(fields);
        crackWidthCheck(fields);
        return reportText(fields);
    }();
    return text;
}

const std::vector<std::string>& sampleReportLines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> result;
        const std::string text = sampleReport();
        for (std::size_t begin = 0; begin < text.size();) {
            const std::size_t end = text.find("\r\n", begin);
            result.push_back(text.substr(begin, end - begin));
            begin = end + 2;
        }
        return result;
    }();
    return lines;
}

}  // namespace wallcalc::testing
