#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

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

// `texts` with the service moment typed last (100 unless they give one), as the engineer checks
// a moment of their own: the placeholder is no result, and a moment typed before the grade or
// the section changes would belong to another wall.
Texts mkTypedLast(Texts texts) {
    auto mk = std::stable_partition(texts.begin(), texts.end(), [](const auto& t) { return t.first != F::Text24; });
    if (mk == texts.end()) texts.emplace_back(F::Text24, "100");
    return texts;
}
FieldSet typedMk(const Texts& texts) { return with(mkTypedLast(texts)); }

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
    FieldSet fields = typedMk({});
    crackWidthCheck(fields);
    expectTexts({"defaults", {}, defaultsResult}, fields);
    EXPECT_EQ(changedFields(typedMk({}), fields).size(), 6u);

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
        // 1,000 mm spacing read whole: As = 201.06177, ρte bounded to 0.01, σsk = 2286.71,
        // ψ = 1.1 − 0.65 × 2.01 / 22.8671 = 1.0429 → 1.0; ωmax = (128 + 95) × 2.1 × 2286.71 / 210000
        // = 5.0994. Read as 1 it gave 0.0017 and passed.
        {"spacing grouped", {{F::Text25, "1,000"}}, {{F::Text14, "201.0618"}, {F::Text18, "不满足要求！"}}},
        {"full-width moment", {{F::Text24, "１００"}}, {{F::Text15, "0.2935"}}},
    };
    for (const CrackCase& c : cases) {
        FieldSet fields = typedMk(c.inputs);
        EXPECT_EQ(runInPlace(fields, crackWidthCheck), 0) << c.name;
        expectTexts(c, fields);
    }
}

TEST(Crack, NoPositiveServiceMomentGivesANegativeWidth) {
    for (const char* moment : {"0.001", "1", "5", "10", "30", "100", "1000", "1E6"}) {
        for (const char* grade : {"20", "25", "40"}) {
            FieldSet fields = with({{F::Text10, grade}, {F::Text24, moment}});
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
        {"diameter 0", {{F::Text17, "0"}}, 11, ratio},
        // 50 mm (ho 0) is no wall's thickness: refused where it is read, before any write.
        {"thickness 50", {{F::Text4, "50"}}, 5, {}},
        {"service moment 0", {{F::Text24, "0"}}, 11, upToFtk},
        {"service moment 0, grade 20", {{F::Text24, "0"}, {F::Text10, "20"}}, 6, upToFtk},
        {"bar grade 4", {{F::Combo1, "4"}}, 11, upToFtk},
        {"bar grade empty", {{F::Combo1, ""}}, 13, upToFtk},
        {"bar grade lettered", {{F::Combo1, "II"}}, 13, upToFtk},
        {"diameter beyond the double range", {{F::Text17, "1E400"}}, 6, {}},
        {"thickness beyond single precision", {{F::Text4, "1E39"}}, 6, {}},
    };
    for (FaultCase c : cases) {
        c.inputs = mkTypedLast(c.inputs);
        expectFault(c, crackWidthCheck);
    }
}

TEST(Crack, RefusesInputsThatGiveANegativeWidth) {
    const RefusedCase cases[] = {
        {"negative diameter", {{F::Text17, "-16"}}, 5, F::Text17},
        {"negative service moment (hogging sign)", {{F::Text24, "-100"}}, 5, F::Text24},
        {"service moment beyond the single range", {{F::Text24, "1E39"}}, 6, F::Text24},
        {"negative thickness", {{F::Text4, "-300"}}, 5, F::Text4},
        {"thickness 0: ho = −50", {{F::Text4, "0"}}, 5, F::Text4},
        {"negative spacing", {{F::Text25, "-100"}}, 5, F::Text25},
        {"comma in the spacing", {{F::Text25, "1,00"}}, 13, F::Text25},
        {"letter in the bar grade", {{F::Combo1, "II"}}, 13, F::Combo1},
        // The diameter is read first.
        {"diameter before the moment", {{F::Text17, "-1"}, {F::Text24, "-1"}}, 5, F::Text17},
    };
    for (RefusedCase c : cases) {
        c.inputs = mkTypedLast(c.inputs);
        expectRefused(c, crackWidthCheck);
    }
}

// The verdict passes only a finite width between 0 and the limit, as its field shows it.
TEST(Crack, VerdictOnlyForAFiniteWidthWithinTheLimit) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float width;
        double shown;
        bool passes;
    };
    const Case cases[] = {
        {0.0f, 0.0, true},          {0.2f, 0.2, true},
        {0.20004f, 0.2, true},      {0.2001f, 0.2001, false},
        {-0.1617f, -0.1617, false}, {inf, 0.0, false},
        {-inf, 0.0, false},         {std::numeric_limits<float>::quiet_NaN(), 0.0, false},
    };
    for (const Case& c : cases) EXPECT_EQ(crackWidthPasses(c.width, c.shown), c.passes) << c.width;
}
