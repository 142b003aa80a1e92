#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/action.h"
#include "report/compose.h"
#include "tests/support/field_sets.h"

using namespace wallcalc;
using namespace wallcalc::testing;
using F = Field;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Line n (from 1) of a report.
std::string line(const std::string& report, int n) {
    std::size_t begin = 0;
    for (int i = 1; i < n; ++i) begin = report.find("\r\n", begin) + 2;
    return report.substr(begin, report.find("\r\n", begin) - begin);
}

std::size_t utf16Length(const std::string& utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) != 0x80) units += (c >= 0xF0) ? 2 : 1;
    }
    return units;
}

// Without the strength calculation its fields stand as the engineer's own texts.
FieldSet afterActions(const Texts& inputs, bool strength, bool crack) {
    FieldSet fields = with(inputs);
    if (strength)
        strengthCalculation(fields);
    else
        typeResults(fields, Press::Strength);
    if (crack) crackWidthCheck(fields);
    return fields;
}

}  // namespace

TEST(Report, DefaultsAfterBothCalculationsMatchTheReferenceText) {
    FieldSet fields = afterActions({}, true, true);
    composeReport(fields);
    const std::string& report = fields.text(F::Text29);
    EXPECT_EQ(report, readFile(WALLCALC_TEST_DATA "/defaults_after_both.txt"));
    EXPECT_EQ(utf16Length(report), 1957u);
    EXPECT_TRUE(report.ends_with(std::string(line(report, 48)) + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));

    std::size_t pairs = 0;
    for (std::size_t at = report.find("\r\n"); at != std::string::npos; at = report.find("\r\n", at + 2)) ++pairs;
    EXPECT_EQ(pairs, 55u);

    FieldSet again = fields;
    again.setText(F::Text29, "typed into the box");
    composeReport(again);
    EXPECT_EQ(again, fields);
}

TEST(Report, LinesFollowTheFieldsAsTheyStand) {
    struct Case {
        const char* name;
        Texts inputs;
        bool strength;
        std::vector<std::pair<int, std::string>> lines;
    };
    const Case cases[] = {
        {"crack width check without the strength calculation",
         {},
         false,
         {{10, "         Ka*p=10kN；              Ka*γ*h1=10kN；"},
          {11, "         Ka*γ`*(H-h1)=10kN；   γw*(H - h1)=10kN"},
          {14, "          = 10kN；"},
          {27, "                        =40kN"},
          {42, "          σsk = Mk/(0.87*ho*As)=100000000/(0.87* 250*2010.618)"},
          {43, "               =228.671042904484"},
          {45, "          ψ＝1.1-0.65*ftk/ρte/σsk=0.6737505590141"}}},
        {"bars 12 at 200, Mk 20",
         {{F::Text17, "12"}, {F::Text25, "200"}, {F::Text24, "20"}},
         false,
         {{39, "          ρte = 565.4862/150000=0.010000"},
          {40, "          在最大裂缝宽度计算中，当ρte＜0.01 时，取ρte ＝ 0.01"},
          {43, "               =162.610551749107"},
          {45, "          ψ＝1.1-0.65*ftk/ρte/σsk=0.29654660417375"}}},
        {"storey height 3300",
         {{F::Text9, "3300"}},
         true,
         {{19, "          支座弯距M1=0.8*Q*L\uE010/15=0.8* 96.1*3.3\uE010/15=61.0570kN.m"},
          {22, "          跨中弯距M2=1.25*Q*L\uE010*0.0298= 1.25*96.1*3.3\uE010*0.0298=50.3141kN.m"}}},
        {"psi below 0.2 is bounded",
         {{F::Text24, "5"}},
         false,
         {{45, "          ψ＝1.1-0.65*ftk/ρte/σsk=-7.424988819718＜0.2，取ψ＝0.2"}}},
        {"psi above 1.0 is bounded",
         {{F::Text10, "20"}},
         false,
         {{45, "          ψ＝1.1-0.65*ftk/ρte/σsk=1.1＞1.0，取ψ＝1.0"}}},
        {"texts with blanks and units stand as typed",
         {{F::Text3, " 5"}, {F::Text13, "300MPa"}, {F::Text2, "0.5 "}},
         true,
         {{4, "      2、地下室层高L=4500mm；埋深H =  5m"},
          {5, "         设防水位高h1= 0.5 m；墙厚=300mm"},
          {7, "      3、混凝土强度等级为C30；钢筋抗拉强度fy=300MPa"}}},
    };
    for (const Case& c : cases) {
        FieldSet fields = afterActions(c.inputs, c.strength, true);
        std::optional<Fault> fault = runAtomically(fields, composeReport);
        ASSERT_FALSE(fault) << c.name << ": " << fault->what;
        for (const auto& [n, text] : c.lines)
            EXPECT_EQ(line(fields.text(F::Text29), n), text) << c.name << ", line " << n;
    }
}

TEST(Report, AFaultLeavesEveryFieldAsItWas) {
    struct Case {
        const char* name;
        bool crackFirst;
        Texts afterwards;
        int fault;
    };
    const Case cases[] = {
        {"before any crack width check", false, {}, 13},
        {"storey height with a unit", true, {{F::Text9, "4500mm"}}, 13},
        {"empty load ordinate", true, {{F::Text21, ""}}, 13},
        {"Text19 is read by its leading number", true, {{F::Text19, "5kN"}, {F::Text4, "300mm"}}, 13},
        {"wall thickness 50 is no wall's", true, {{F::Text4, "50"}}, 5},
        {"steel area 0", true, {{F::Text14, "0"}}, 11},
        {"service moment and steel area 0", true, {{F::Text14, "0"}, {F::Text24, "0"}}, 6},
        {"rho_te 0", true, {{F::Text26, "0"}}, 11},
        {"service moment 0", true, {{F::Text24, "0"}}, 11},
        {"service moment 0, ftk 0", true, {{F::Text24, "0"}, {F::Text28, "0"}}, 6},
        {"service moment beyond the range", true, {{F::Text24, "1E303"}}, 6},
        {"wall thickness beyond the range", true, {{F::Text4, "1E306"}}, 6},
        {"ftk with a unit", true, {{F::Text28, "2.01MPa"}}, 13},
    };
    for (const Case& c : cases) {
        // The report's own readings: every result texts as the engineer left it.
        FieldSet fields = afterActions({}, false, c.crackFirst);
        for (const auto& [field, text] : c.afterwards) fields.setText(field, text);
        typeResults(fields, Press::Strength);
        typeResults(fields, Press::Crack);
        const FieldSet before = fields;
        std::optional<Fault> fault = runAtomically(fields, composeReport);
        ASSERT_TRUE(fault) << c.name;
        EXPECT_EQ(fault->number, c.fault) << c.name;
        EXPECT_EQ(fields, before) << c.name;
    }
}

// A report that would print a negative storey height, moment, steel area or lever arm as a
// result is refused, the earliest line first, with the field to mend.
TEST(Report, RefusesNegativeQuantitiesItForms) {
    const RefusedCase cases[] = {
        {"negative storey height (line 19)", {{F::Text9, "-4500"}}, 5, F::Text9},
        {"negative service moment (line 42)", {{F::Text24, "-110.2688"}}, 5, F::Text24},
        {"negative steel area (line 43)", {{F::Text14, "-2010.618"}}, 5, F::Text14},
        // ho = 40 − 50 = −10 mm, lever arm 0.87 × −10 < 0 (the strict reading of 40 for Ate is fine).
        {"wall thinner than the cover (line 43)", {{F::Text4, "40"}}, 5, F::Text4},
        {"storey height before the moment", {{F::Text9, "-1"}, {F::Text24, "-1"}}, 5, F::Text9},
        {"comma that groups nothing", {{F::Text24, "110,26"}}, 13, F::Text24},
    };
    for (const RefusedCase& c : cases) {
        // The results are the engineer's: the placeholders, ftk 2.01, and the case's texts.
        RefusedCase typed = c;
        FieldSet fields = with({{F::Text28, "2.01"}});
        typeResults(fields, Press::Strength);
        typeResults(fields, Press::Crack);
        for (Field field : allFields()) {
            const bool given =
                std::any_of(c.inputs.begin(), c.inputs.end(), [&](const auto& t) { return t.first == field; });
            if (pressOf(field) && field != F::Text29 && !given) typed.inputs.emplace_back(field, fields.text(field));
        }
        expectRefused(typed, composeReport);
    }
    // Grouped and full-width texts are read as the numbers they show: L = 4.5 in line 19.
    FieldSet fields = afterActions({}, true, true);
    fields.setText(F::Text9, "４,５００");
    typeResults(fields, Press::Strength);
    typeResults(fields, Press::Crack);
    composeReport(fields);
    EXPECT_NE(line(fields.text(F::Text29), 19).find("96.1*4.5"), std::string::npos) << line(fields.text(F::Text29), 19);
}
