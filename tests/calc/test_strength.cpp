#include <gtest/gtest.h>

#include "calc/strength.h"
#include "core/action.h"
#include "tests/support/field_sets.h"

using namespace wallcalc;
using namespace wallcalc::testing;
using F = Field;

TEST(Strength, WorkedExampleWithTheDefaults) {
    FieldSet fields;
    strengthCalculation(fields);
    const Texts expected = {
        {F::Text19, "5"},
        {F::Text20, "4.5"},
        {F::Text21, "24.75"},
        {F::Text22, "45"},
        {F::Text23, "96.1"},
        {F::Text5, "107.2080"},
        {F::Text6, "85.2556"},
        {F::Text24, "110.2688"},
        {F::Text11, "32.0415766705536"},
        {F::Text12, "25.1085968211755"},
        {F::Text7, "1527.315"},
        {F::Text8, "1196.843"},
    };
    for (const auto& [field, text] : expected) EXPECT_EQ(fields.text(field), text) << fieldName(field);
    EXPECT_EQ(changedFields(FieldSet{}, fields).size(), expected.size());

    FieldSet again = fields;
    strengthCalculation(again);
    EXPECT_EQ(again, fields);
}

TEST(Strength, UnusualButValidInputs) {
    struct Case {
        const char* name;
        Texts inputs;
        Texts expected;
    };
    const Case cases[] = {
        {"thin wall, ho 123", {{F::Text4, "173"}}, {{F::Text11, "111.386460476747"}, {F::Text7, "5309.421"}}},
        {"water level below the base slab",
         {{F::Text2, "6"}, {F::Text3, "5"}},
         {{F::Text21, "-5.5"},
          {F::Text22, "-10"},
          {F::Text23, "53.2"},
          {F::Text5, "118.0980"},
          {F::Text24, "121.6125"}}},
        {"no loads",
         {{F::Text1, "0"}, {F::Text2, "0"}, {F::Text3, "0"}},
         {{F::Text19, "0"},
          {F::Text23, "0"},
          {F::Text24, "0"},
          {F::Text5, "0.0000"},
          {F::Text6, "0.0000"},
          {F::Text11, "0"},
          {F::Text12, "0"},
          {F::Text7, "0"},
          {F::Text8, "0"}}},
        // fc = 20 × 0.48 − 0.1 = 9.5; x1 = 250 − √(62500 − 214416000 / 9500) = 50.1753;
        // As1 = 9.5 × 1000 × 50.1753 / 300 = 1588.886. Outside C25~C40 but not refused.
        {"grade 20", {{F::Text10, "20"}}, {{F::Text11, "50.1753401146555"}, {F::Text7, "1588.886"}}},
        // fc = 21.5; x1 = 250 − √(62500 − 214416000 / 21500) = 20.8119; As1 = 1491.523.
        {"grade 45", {{F::Text10, "45"}}, {{F::Text11, "20.8119488854958"}, {F::Text7, "1491.523"}}},
        // Q = 1.2 × (24.75 + 4.5 + 45) = 89.1 with no surcharge.
        {"zero surcharge", {{F::Text1, "0"}}, {{F::Text19, "0"}, {F::Text23, "89.1"}}},
        // Typed forms read as the number they show: the worked example again.
        {"storey height grouped", {{F::Text9, "4,500"}}, {{F::Text5, "107.2080"}, {F::Text7, "1527.315"}}},
        {"full-width digits", {{F::Text9, "４５００"}, {F::Text10, "３０"}}, {{F::Text7, "1527.315"}}},
        {"storey height 0 leaves components 3 and 4",
         {{F::Text9, "0"}},
         {{F::Text5, "7.3620"}, {F::Text24, "7.66875"}}},
        {"units typed after the numbers", {{F::Text1, "10kN"}, {F::Text9, "4500mm"}}, {{F::Text23, "96.1"}}},
        {"a moment of 1000 or more is grouped",
         {{F::Text4, "1500"}, {F::Text9, "15000"}},
         {{F::Text5, "1,116.7620"}, {F::Text6, "849.5995"}, {F::Text24, "1147.669"}}},
    };
    for (const Case& c : cases) {
        FieldSet fields = with(c.inputs);
        int fault = runInPlace(fields, strengthCalculation);
        if (c.expected.empty()) {
            EXPECT_NE(fault, 0) << c.name;
            continue;
        }
        EXPECT_EQ(fault, 0) << c.name;
        for (const auto& [field, text] : c.expected)
            EXPECT_EQ(fields.text(field), text) << c.name << ": " << fieldName(field);
    }
}

TEST(Strength, AFaultStopsWithTheFieldsWrittenSoFar) {
    const std::vector<Field> loads = {F::Text19, F::Text20, F::Text21, F::Text22, F::Text23};
    std::vector<Field> upToMoments = loads;
    upToMoments.insert(upToMoments.end(), {F::Text5, F::Text6, F::Text24});
    std::vector<Field> upToHeights = upToMoments;
    upToHeights.insert(upToHeights.end(), {F::Text11, F::Text12});

    const FaultCase cases[] = {
        {"ho 122: the support radicand is negative", {{F::Text4, "172"}}, 5, upToMoments},
        {"empty fy: division by zero at As1", {{F::Text13, ""}}, 11, upToHeights},
        {"fy and the loads 0: 0/0 at As1",
         {{F::Text13, "0"}, {F::Text1, "0"}, {F::Text2, "0"}, {F::Text3, "0"}},
         6,
         upToHeights},
        {"wall thickness 1E39: ho beyond single precision", {{F::Text4, "1E39"}}, 6, {}},
        {"storey height beyond single precision", {{F::Text9, "1E42"}}, 6, {}},
        // A storey height of 1E22 mm is refused as no wall's now; a water level 1E19 m deep still
        // gives a moment beyond single precision (h2² × Kaγh1 ≈ 1E38 × 9E19).
        {"moment beyond single precision", {{F::Text2, "1E19"}}, 6, loads},
        {"fc exactly 0 at x1", {{F::Text10, "0.208333333333333333"}}, 11, upToMoments},
        {"reading beyond the double range", {{F::Text3, "1E400"}}, 6, {}},
    };
    for (const FaultCase& c : cases) expectFault(c, strengthCalculation);
}

// Inputs that would give results that look right and are not: refused where the quantity is
// formed, the earliest first, with the field to mend.
TEST(Strength, RefusesInputsThatCannotStandForAWall) {
    const RefusedCase cases[] = {
        {"grade typed with its letter: fc = 0 × 0.48 − 0.1 < 0", {{F::Text10, "C30"}}, 5, F::Text10},
        {"empty grade", {{F::Text10, ""}}, 5, F::Text10},
        {"negative grade", {{F::Text10, "-30"}}, 5, F::Text10},
        {"surcharge beyond the single range", {{F::Text1, "1E39"}}, 6, F::Text1},
        {"negative surcharge beyond the single range", {{F::Text1, "-1E39"}}, 6, F::Text1},
        {"negative surcharge", {{F::Text1, "-10"}}, 5, F::Text1},
        {"water level beyond the single range", {{F::Text2, "1E39"}}, 6, F::Text2},
        {"negative water level", {{F::Text2, "-0.5"}}, 5, F::Text2},
        {"depth beyond the single range", {{F::Text3, "-4E38"}}, 6, F::Text3},
        {"negative depth", {{F::Text3, "-5"}}, 5, F::Text3},
        {"fy beyond the single range", {{F::Text13, "1E40"}}, 6, F::Text13},
        {"negative fy", {{F::Text13, "-300"}}, 5, F::Text13},
        {"wall thinner than the cover: ho = 40 − 50 < 0", {{F::Text4, "40"}}, 5, F::Text4},
        {"negative thickness", {{F::Text4, "-300"}}, 5, F::Text4},
        {"negative storey height", {{F::Text9, "-4500"}}, 5, F::Text9},
        {"comma that groups nothing", {{F::Text9, "4,50"}}, 13, F::Text9},
        {"trailing comma", {{F::Text10, "30,"}}, 13, F::Text10},
        // h1 = 1, H = 0, L = 10: support components −124 + 58.33 + 0.9 + 0.72, M1 = −51.24.
        {"negative support moment", {{F::Text2, "1"}, {F::Text3, "0"}, {F::Text9, "10000"}}, 5, F::Text2},
        // The earliest wins: p is read before the grade is formed.
        {"two faults, the first read wins", {{F::Text1, "-1"}, {F::Text10, "C30"}}, 5, F::Text1},
        {"fy before ho", {{F::Text13, "1E39"}, {F::Text4, "10"}}, 6, F::Text13},
    };
    for (const RefusedCase& c : cases) expectRefused(c, strengthCalculation);
}
