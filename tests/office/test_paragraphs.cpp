#include "office/paragraphs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/sample_report.h"

namespace wallcalc {
namespace {

struct Case {
    const char* name;
    std::string report;
    std::string paragraphs;
};

TEST(ParagraphText, EachLineBecomesOneParagraph) {
    const Case cases[] = {
        {"empty", "", ""},
        {"default text", "计算书\r\n", "计算书"},
        {"one empty line", "\r\n", ""},
        {"two lines", "a\r\nb\r\n", "a\rb"},
        {"trailing empty lines kept", "a\r\n\r\n\r\n", "a\r\r"},
        {"last line unterminated", "a\r\nb", "a\rb"},
        {"lone CR and LF kept", "a\nb\rc", "a\nb\rc"},
        {"LF CR is no pair", "a\n\rb", "a\n\rb"},
        {"private-use characters untouched", "x\uE010y\uE001\r\n\u3000\r\n", "x\uE010y\uE001\r\u3000"},
    };
    for (const Case& c : cases) EXPECT_EQ(toParagraphText(c.report), c.paragraphs) << c.name;
}

TEST(ParagraphText, ReportOf55LinesGives55Paragraphs) {
    const std::string text = toParagraphText(testing::sampleReport());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 54);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 0);
    EXPECT_EQ(text.substr(0, text.find('\r')), testing::sampleReportLines().front());
}

}  // namespace
}  // namespace wallcalc
