#include <gtest/gtest.h>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/action.h"
#include "tests/support/field_sets.h"

using namespace wallcalc;
using namespace wallcalc::testing;
using F = Field;

namespace {

struct CrackCase {
    const char* name;
    Texts inputs;
    Texts expected;
};

void expectTexts(const CrackCase& c, const FieldSet& fields) {
    for (const auto& [field, text] : c.expected)
        EXPECT_EQ(fields.text(field), text) << c.name << ": " << fieldName(field);
}

}  // namespace

TEST(Crack, WorkedExamples) {
    const Texts defaultsResult = {
        {F::Text14, "2010.618"}, {F::Text26, "0.013404"}, {F::Text16, "0.8042"},
        {F::Text28, "2.01"},     {F::Text15, "0.2935"},   {F::Text18, "不满足要求！"},
    };
    FieldSet fields;
    crackWidthCheck(fields);
    expectTexts({"defaults", {}, defaultsResult}, fields);
    EXPECT_EQ(changedFields(FieldSet{}, fields).size(), 6u);

    FieldSet afterStrength;
    strengthCalculation(afterStrength);
    crackWidthCheck(afterStrength);
    expectTexts({"after the strength calculation",
                 {},
                 {{F::Text14, "2010.618"},
                  {F::Text26, "0.013404"},
                  {F::Text16, "0.8042"},
                  {F::Text28, "2.01"},
                  {F::Text15, "0.3427"},
                  {F::Text18, "不满足要求！"}}},
                afterStrength);

    FieldSet twice = afterStrength;
    crackWidthCheck(twice);
    EXPECT_EQ(twice, afterStrength);
}

TEST(Crack, BoundsAndTables) {
    const CrackCase cases[] = {
        {"rho_te raised to 0.01, rho not",
         {{F::Text17, "12"}, {F::Text25, "200"}, {F::Text24, "20"}},
         {{F::Text14, "565.4862"},
          {F::Text26, "0.010000"},
          {F::Text16, "0.2262"},
          {F::Text15, "0.0921"},
          {F::Text18, "满足要求"}}},
        {"verdict on 0.2000", {{F::Text24, "80.49"}}, {{F::Text15, "0.2000"}, {F::Text18, "满足要求"}}},
        {"verdict on 0.2001", {{F::Text24, "80.5"}}, {{F::Text15, "0.2001"}, {F::Text18, "不满足要求！"}}},
        // ψ would be -7.42 and the width -0.1617: bounded to 0.2 the width stays positive.
        {"psi bounded below", {{F::Text24, "5"}}, {{F::Text15, "0.0044"}, {F::Text18, "满足要求"}}},
        // Grade 20: ftk 0 and ψ 1.1, bounded to 1.0 (0.4792 unbounded).
        {"grade outside the table",
         {{F::Text10, "20"}},
         {{F::Text28, "0"}, {F::Text15, "0.4356"}, {F::Text18, "不满足要求！"}}},
        {"grade 32 is no grade", {{F::Text10, "32"}}, {{F::Text28, "0"}}},
        {"grade 25", {{F::Text10, "25"}}, {{F::Text28, "1.78"}}},
        {"grade 35", {{F::Text10, "35"}}, {{F::Text28, "2.2"}}},
        {"grade 40", {{F::Text10, "40"}}, {{F::Text28, "2.39"}}},
        {"bar grade 2", {{F::Combo1, "2"}}, {{F::Text15, "0.3082"}}},
        {"bar grade 3 with blanks", {{F::Combo1, " 3 "}}, {{F::Text15, "0.3082"}}},
        {"negative service moment", {{F::Text24, "-100"}}, {{F::Text18, "满足要求"}}},
        {"service moment beyond single precision",
         {{F::Text24, "1E39"}},
         {{F::Text15, "INF"}, {F::Text18, "不满足要求！"}}},
    };
    for (const CrackCase& c : cases) {
        FieldSet fields = with(c.inputs);
        EXPECT_EQ(runInPlace(fields, crackWidthCheck), 0) << c.name;
        expectTexts(c, fields);
    }
}

TEST(Crack, NoPositiveServiceMomentGivesANegativeWidth) {
    for (const char* moment : {"0.001", "1", "5", "10", "30", "100", "1000", "1E6"}) {
        for (const char* grade : {"20", "25", "40"}) {
            FieldSet fields = with({{F::Text24, moment}, {F::Text10, grade}});
            ASSERT_EQ(runInPlace(fields, crackWidthCheck), 0);
            EXPECT_NE(fields.text(F::Text15).front(), '-') << "Mk " << moment << " grade " << grade;
        }
    }
}

TEST(Crack, AFaultStopsWithTheFieldsWrittenSoFar) {
    const std::vector<Field> area = {F::Text14};
    const std::vector<Field> ratio = {F::Text14, F::Text26};
    const std::vector<Field> upToFtk = {F::Text14, F::Text26, F::Text16, F::Text28};
    const FaultCase cases[] = {
        {"spacing empty", {{F::Text25, ""}}, 11, {}},
        {"spacing 0", {{F::Text25, "0"}}, 11, {}},
        {"spacing and diameter 0", {{F::Text25, "0"}, {F::Text17, "0"}}, 6, {}},
        {"thickness 0", {{F::Text4, "0"}}, 11, area},
        {"diameter 0", {{F::Text17, "0"}}, 11, ratio},
        {"thickness 50", {{F::Text4, "50"}}, 11, ratio},
        {"service moment 0", {{F::Text24, "0"}}, 11, upToFtk},
        {"service moment 0, grade 20", {{F::Text24, "0"}, {F::Text10, "20"}}, 6, upToFtk},
        {"bar grade 4", {{F::Combo1, "4"}}, 11, upToFtk},
        {"bar grade empty", {{F::Combo1, ""}}, 13, upToFtk},
        {"bar grade lettered", {{F::Combo1, "II"}}, 13, upToFtk},
        {"diameter beyond the double range", {{F::Text17, "1E400"}}, 6, {}},
        {"thickness beyond single precision", {{F::Text4, "1E39"}}, 6, {}},
    };
    for (const FaultCase& c : cases) expectFault(c, crackWidthCheck);
}
