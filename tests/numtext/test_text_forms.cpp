#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numtext/text_forms.h"

using namespace wallcalc::numtext;

namespace {

template <typename T>
struct FormCase {
    T value;
    std::string text;
};

}  // namespace

TEST(SingleText, SevenSignificantDigitsInGeneralForm) {
    const FormCase<float> cases[] = {
        {1.0f / 3, "0.3333333"},
        {96.1f, "96.1"},
        {1.78f, "1.78"},
        {210000, "210000"},
        {12345678, "1.234568E+07"},
        {-0.5f, "-0.5"},
        {0, "0"},
        {-0.0f, "0"},
        {1234567, "1234567"},
        {9999999.5f, "1E+07"},
        {0.0001f, "0.0001"},
        {0.00001f, "1E-05"},
        {1.5e-7f, "1.5E-07"},
        {110.26875f, "110.2688"},
        {2010.6177f, "2010.618"},
        {1e38f, "1E+38"},
        {-5.5f, "-5.5"},
        {3.4028235e38f, "3.402823E+38"},
    };
    for (const auto& c : cases) EXPECT_EQ(singleText(c.value), c.text) << "value " << c.value;
    EXPECT_EQ(singleText(std::numeric_limits<float>::infinity()), "INF");
    EXPECT_EQ(singleText(-std::numeric_limits<float>::infinity()), "-INF");
}

TEST(DoubleText, FifteenSignificantDigitsInGeneralForm) {
    const FormCase<double> cases[] = {
        {1.0 / 3, "0.333333333333333"},
        {210000, "210000"},
        {12345678, "12345678"},
        {-0.5, "-0.5"},
        {3300 * 0.001, "3.3"},
        {110268800, "110268800"},
        {1e15, "1E+15"},
        {999999999999999, "999999999999999"},
        {1e-5, "1E-05"},
        {0.0001, "0.0001"},
        {-0.0, "0"},
        {1e100, "1E+100"},
        {1.7976931348623157e308, "1.79769313486232E+308"},
        {2.5e-300, "2.5E-300"},
        {32.04157667055357, "32.0415766705536"},
    };
    for (const auto& c : cases) EXPECT_EQ(doubleText(c.value), c.text) << "value " << c.value;
}

TEST(FixedText, GroupedIntegerPartAndExactDecimals) {
    struct Case {
        float value;
        int decimals;
        std::string text;
    };
    const Case cases[] = {
        {0.01f, 4, "0.0100"},       {0.01f, 6, "0.010000"},
        {107.208f, 4, "107.2080"},  {1234.56789f, 4, "1,234.5679"},
        {85.255577f, 4, "85.2556"}, {-0.1617f, 4, "-0.1617"},
        {0, 4, "0.0000"},           {-0.0f, 4, "0.0000"},
        {-0.00001f, 4, "-0.0000"},  {1234567.0f, 4, "1,234,567.0000"},
        {-1000, 4, "-1,000.0000"},  {99.99996f, 4, "100.0000"},
        {0.20004f, 4, "0.2000"},    {0.013404118f, 6, "0.013404"},
        {100, 4, "100.0000"},
    };
    for (const Case& c : cases) EXPECT_EQ(fixedText(c.value, c.decimals), c.text) << "value " << c.value;
    EXPECT_EQ(fixedText(std::numeric_limits<float>::infinity(), 4), "INF");
}
