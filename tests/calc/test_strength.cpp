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
        {"empty grade gives fc -0.1", {{F::Text10, ""}}, {{F::Text11, "-1235.48307688497"}, {F::Text7, "411.8277"}}},
        {"storey height 0 leaves components 3 and 4",
         {{F::Text9, "0"}},
         {{F::Text5, "7.3620"}, {F::Text24, "7.66875"}}},
        {"units typed after the numbers", {{F::Text1, "10kN"}, {F::Text9, "4500mm"}}, {{F::Text23, "96.1"}}},
        {"a moment of 1000 or more is grouped",
         {{F::Text4, "1500"}, {F::Text9, "15000"}},
         {{F::Text5, "1,116.7620"}, {F::Text6, "849.5995"}, {F::Text24, "1147.669"}}},
        {"surcharge beyond the single range", {{F::Text1, "1E39"}, {F::Text9, "0"}}, {}},
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
        {"moment beyond single precision", {{F::Text9, "1E22"}}, 6, loads},
        {"fc exactly 0 at x1", {{F::Text10, "0.208333333333333333"}}, 11, upToMoments},
        {"reading beyond the double range", {{F::Text3, "1E400"}}, 6, {}},
    };
    for (const FaultCase& c : cases) expectFault(c, strengthCalculation);
}
