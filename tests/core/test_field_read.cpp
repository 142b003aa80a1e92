#include <gtest/gtest.h>

#include <string>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/field_read.h"
#include "core/shown_text.h"
#include "tests/support/field_sets.h"

using namespace wallcalc;
using namespace wallcalc::testing;
using F = Field;

// The readings of the inputs typed as numbers: a unit slip (a positive value no basement wall
// has) and a text that begins with no number are refused; zero, negative values and an empty
// field read as they always did, for the calculations to judge; beyond the single range is
// overflow.
TEST(FieldRead, UnitSlipsAndTextsThatAreNoNumber) {
    struct Case {
        Field field;
        const char* text;
        int fault;     // 0: read
        double value;  // when read
    };
    const Case cases[] = {
        // 地下室高度 1 000–15 000 mm: metres typed are a slip.
        {F::Text9, "4.5", 5, 0},
        {F::Text9, "999", 5, 0},
        {F::Text9, "1000", 0, 1000},
        {F::Text9, "15000", 0, 15000},
        {F::Text9, "15,001", 5, 0},
        {F::Text9, "4500mm", 0, 4500},
        {F::Text9, "0", 0, 0},
        {F::Text9, "-4500", 0, -4500},
        {F::Text9, "1E39", 6, 0},
        // 墙厚 100–3 000 mm.
        {F::Text4, "0.3", 5, 0},
        {F::Text4, "99", 5, 0},
        {F::Text4, "100", 0, 100},
        {F::Text4, "3000", 0, 3000},
        {F::Text4, "3001", 5, 0},
        {F::Text4, "1E39", 6, 0},
        // 底板埋深 at most 100 m; 地面堆载 at most 500 kN/m².
        {F::Text3, "100", 0, 100},
        {F::Text3, "5000", 5, 0},
        {F::Text1, "500", 0, 500},
        {F::Text1, "501", 5, 0},
        {F::Text1, "1E39", 6, 0},
        // 钢筋直径 6–50 mm, 间距 50–1 000 mm.
        {F::Text17, "0.016", 5, 0},
        {F::Text17, "6", 0, 6},
        {F::Text17, "50", 0, 50},
        {F::Text17, "51", 5, 0},
        {F::Text25, "0.1", 5, 0},
        {F::Text25, "50", 0, 50},
        {F::Text25, "1,000", 0, 1000},
        {F::Text25, "1001", 5, 0},
        {F::Text25, "&H64", 0, 100},
        // Texts that begin with no number.
        {F::Text1, "abc", 5, 0},
        {F::Text1, "=cmd", 5, 0},
        {F::Text10, "C30", 5, 0},
        {F::Text24, "Mk=100", 5, 0},
        {F::Text17, "+-16", 5, 0},
        {F::Text13, "\xA3\xB2\xA3\xB0", 5, 0},  // ２０ in GBK, not UTF-8
        {F::Text2, "\r0.5", 5, 0},
        // Numbers as they were read before.
        {F::Text13, "３００", 0, 300},
        {F::Text2, "-.5", 0, -0.5},
        {F::Text2, " 0. 5 ", 0, 0.5},
        {F::Text13, "", 0, 0},
        {F::Text2, " \t", 0, 0},
        {F::Text10, "　", 0, 0},  // an ideographic space
        // Fields the engineer does not type as numbers read as before.
        {F::Text28, "Text28", 0, 0},
        {F::Text19, "5kN", 0, 5},
    };
    for (const Case& c : cases) {
        const FieldSet fields = with({{c.field, c.text}});
        const std::string label = std::string(fieldName(c.field)) + " \"" + c.text + "\"";
        try {
            const double value = readPrefix(fields, c.field);
            EXPECT_EQ(c.fault, 0) << label << " read as " << value;
            EXPECT_EQ(value, c.value) << label;
        } catch (const FaultError& error) {
            const Fault& fault = error.fault();
            EXPECT_EQ(fault.number, c.fault) << label << ": " << fault.what;
            EXPECT_EQ(fault.field, c.field) << label;
            // The message names the field and says what to type, with its unit.
            EXPECT_TRUE(fault.what.starts_with(std::string(fieldCaption(c.field)) + "：")) << fault.what;
            EXPECT_TRUE(fault.what.ends_with(std::string(fieldAdvice(c.field)))) << fault.what;
            if (c.fault == 5) {
                const bool why = fault.what.find("不是数值") != std::string::npos ||
                                 fault.what.find("（单位或位数有误？）") != std::string::npos;
                EXPECT_TRUE(why) << fault.what;
            }
        }
    }
}

// Each button refuses the slip where it reads the field, before it writes anything.
TEST(FieldRead, ThePressesRefuseSlipsWhereTheyRead) {
    const RefusedCase strength[] = {
        {"storey height in metres", {{F::Text9, "4.5"}}, 5, F::Text9},
        {"thickness in metres", {{F::Text4, "0.3"}}, 5, F::Text4},
        {"depth in millimetres", {{F::Text3, "5000"}}, 5, F::Text3},
        {"surcharge as a word", {{F::Text1, "abc"}}, 5, F::Text1},
    };
    for (const RefusedCase& c : strength) expectRefused(c, strengthCalculation);
    const RefusedCase crack[] = {
        {"diameter in metres", {{F::Text17, "0.016"}, {F::Text24, "100"}}, 5, F::Text17},
        {"spacing in metres", {{F::Text25, "0.1"}, {F::Text24, "100"}}, 5, F::Text25},
        {"moment as a word", {{F::Text24, "abc"}}, 5, F::Text24},
    };
    for (const RefusedCase& c : crack) expectRefused(c, crackWidthCheck);
}

// What a message quotes from outside shows every character that could move the cursor, hide
// text or reverse it, and nothing else changes.
TEST(FieldRead, MessagesWriteOutControlsAndDirectionMarks) {
    struct Case {
        std::string in, shown;
    };
    const Case cases[] = {
        {"B1-north 北墙 ²Φ", "B1-north 北墙 ²Φ"},
        {"\x1b[31mred", "<U+001B>[31mred"},
        {"a\r\nb\tc", "a<U+000D><U+000A>b<U+0009>c"},
        {"\x7f\u0085", "<U+007F><U+0085>"},
        {"H\u202Etxt.exe", "H<U+202E>txt.exe"},
        {"\u200E\u200F\u061C\u2066x\u2069", "<U+200E><U+200F><U+061C><U+2066>x<U+2069>"},
        {"\u2028", "<U+2028>"},
        {"\xff"
         "a",
         "\uFFFD"
         "a"},
    };
    for (const Case& c : cases) EXPECT_EQ(shownText(c.in), c.shown) << c.in;

    const FieldSet fields = with({{F::Text1, "\u202E01"}});
    try {
        readPrefix(fields, F::Text1);
        ADD_FAILURE() << "read";
    } catch (const FaultError& error) {
        EXPECT_NE(error.fault().what.find("“<U+202E>01”不是数值"), std::string::npos) << error.fault().what;
    }
}
