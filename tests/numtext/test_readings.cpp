#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numtext/prefix_reading.h"
#include "numtext/read_error.h"
#include "numtext/strict_reading.h"

using namespace wallcalc;

namespace {

// The faults that reading a field makes of the two kinds of error.
namespace fault_number {
constexpr int kOverflow = 6;
constexpr int kTypeMismatch = 13;
}  // namespace fault_number

struct ReadingCase {
    std::string text;
    double value;
};

// 13 for a misplaced comma as well, but told apart so that the message can say so.
constexpr int kBadComma = 113;

int faultOf(double (*reading)(std::string_view), const std::string& text) {
    try {
        reading(text);
    } catch (const numtext::ReadError& error) {
        switch (error.kind()) {
            case numtext::ReadError::Kind::OutOfRange: return fault_number::kOverflow;
            case numtext::ReadError::Kind::BadGroupSeparator: return kBadComma;
            case numtext::ReadError::Kind::NotANumber: return fault_number::kTypeMismatch;
        }
    }
    return 0;
}

}  // namespace

TEST(PrefixReading, TakesTheLongestLeadingNumber) {
    const ReadingCase cases[] = {
        {"4500", 4500},
        {"0.5", 0.5},
        {"", 0},
        {"abc", 0},
        {"300N/mm2", 300},
        {"1.2.3", 1.2},
        {"-0.5", -0.5},
        {"2E3", 2000},
        {"1 000", 1000},
        {" \t1\n2 ", 12},
        {"+7", 7},
        {"2e-3", 0.002},
        {"2D3", 2000},
        {"2d+2", 200},
        {"2E", 2},
        {"2E+", 2},
        {"E5", 0},
        {".5", 0.5},
        {"5.", 5},
        {"-.25x", -0.25},
        {"5.E2", 500},
        {".E2", 0},
        {"-", 0},
        {"--1", 0},
        {"1-2", 1},
        {"1\r2", 1},
        {"&H1F", 31},
        {"&hff", 255},
        {"&O17", 15},
        {"&o777", 511},
        {"& H 10", 16},
        {"&H", 0},
        {"&O8", 0},
        {"&12", 0},
        {"-&H10", 0},
        {"&HFFFFFFFF", 4294967295.0},
        {"1E-400", 0},
        {"0.1", 0.1},
        {"96.1", 96.1},
        {"0.2000", 0.2},
        {"1.7976931348623157E308", 1.7976931348623157e308},
    };
    for (const ReadingCase& c : cases)
        EXPECT_EQ(numtext::prefixReading(c.text), c.value) << "text: \"" << c.text << "\"";
}

TEST(PrefixReading, FailsOnlyBeyondTheDoubleRange) {
    EXPECT_EQ(faultOf(numtext::prefixReading, "1E309"), fault_number::kOverflow);
    EXPECT_EQ(faultOf(numtext::prefixReading, "-2D400abc"), fault_number::kOverflow);
    EXPECT_EQ(faultOf(numtext::prefixReading, "0.00001E314"), fault_number::kOverflow);
    EXPECT_EQ(faultOf(numtext::prefixReading, "&H" + std::string(260, 'F')), fault_number::kOverflow);
    EXPECT_EQ(faultOf(numtext::prefixReading, "1E99999999999999999999"), fault_number::kOverflow);
    EXPECT_EQ(faultOf(numtext::prefixReading, "1E-99999999999999999999"), 0);
    EXPECT_EQ(faultOf(numtext::prefixReading, "100000E303"), 0);
    EXPECT_TRUE(std::signbit(numtext::prefixReading("-1E-999")));
}

TEST(StrictReading, AcceptsWholeNumbersOnly) {
    const ReadingCase cases[] = {
        {" 1", 1},          {"1 ", 1},          {"0.010000", 0.01},     {"1,234.5", 1234.5}, {"-12", -12},
        {"+3.5", 3.5},      {"1e3", 1000},      {"2E-2", 0.02},         {".5", 0.5},         {"5.", 5},
        {"1,000,000", 1e6}, {"  2.01  ", 2.01}, {"110.2688", 110.2688},
    };
    for (const ReadingCase& c : cases)
        EXPECT_EQ(numtext::strictReading(c.text), c.value) << "text: \"" << c.text << "\"";
}

TEST(StrictReading, RejectsEverythingElseAsTypeMismatch) {
    const std::string rejected[] = {
        "Text28", "300N/mm2",  "",     "   ", "abc",      "1.2.3", "1E",  "1E+", "-",   ".",   "1 2", "- 1",
        "1,23",   "12,34,567", ",123", "1,",  "1234,567", "&H10",  "(1)", "1-",  "\t1", "1\n", "1D3", "¥1",
    };
    for (const std::string& text : rejected)
        EXPECT_NE(faultOf(numtext::strictReading, text), 0) << "text: \"" << text << "\"";
}

TEST(StrictReading, OverflowBeyondTheDoubleRange) {
    EXPECT_EQ(faultOf(numtext::strictReading, "1E309"), fault_number::kOverflow);
    EXPECT_EQ(faultOf(numtext::strictReading, "-999,999E306"), fault_number::kOverflow);
    EXPECT_EQ(numtext::strictReading("1E-400"), 0.0);
}

// What an engineer types: thousands groups, and full-width characters from a Chinese input
// method, read the same by both readings wherever the whole text is a number.
TEST(Readings, GroupedAndFullWidthFormsReadAsTheirNumbers) {
    const ReadingCase cases[] = {
        {"4,500", 4500},           {"1,234.5", 1234.5},  {"-1,000", -1000},  {"1,000,000", 1e6},
        {"12,345.678", 12345.678}, {"1,234E3", 1234000}, {"４５００", 4500},  // full-width digits
        {"－０．５", -0.5},                                                   // full-width sign and point
        {"＋２Ｅ３", 2000},                                                   // full-width plus and E
        {"２ｅ－３", 0.002},                                                  // full-width e and minus
        {"４，５００", 4500},                                                 // full-width comma
        {"\u3000１２\u3000", 12},                                             // ideographic spaces around
    };
    for (const ReadingCase& c : cases) {
        EXPECT_EQ(numtext::prefixReading(c.text), c.value) << "prefix: \"" << c.text << "\"";
        EXPECT_EQ(numtext::strictReading(c.text), c.value) << "strict: \"" << c.text << "\"";
    }
    // The prefix reading still stops where the number ends.
    const ReadingCase prefixOnly[] = {
        {"4,500mm", 4500}, {"1,234.5,6", 1234.5}, {"１２ｍｍ", 12}, {",5", 0}, {"-,5", 0}, {"３０Ｃ", 30},
        {"C30", 0},        {"&H1,0", 1},          {"1, 000", 1000},
    };
    for (const ReadingCase& c : prefixOnly)
        EXPECT_EQ(numtext::prefixReading(c.text), c.value) << "prefix: \"" << c.text << "\"";
}

TEST(Readings, ACommaThatDoesNotGroupThousandsIsRefused) {
    const std::string refused[] = {"4,50",   "1,2",    "30,",   "4500,",    "1,2345",  "12,34,567",
                                   "1,,000", "1,23.5", "-1,00", "４，５０", "1,0000.5"};
    for (const std::string& text : refused) {
        EXPECT_EQ(faultOf(numtext::prefixReading, text), kBadComma) << "prefix: \"" << text << "\"";
        EXPECT_EQ(faultOf(numtext::strictReading, text), kBadComma) << "strict: \"" << text << "\"";
    }
    // A comma before any digit is no group separator: no number there, as before.
    EXPECT_EQ(faultOf(numtext::strictReading, ",123"), fault_number::kTypeMismatch);
}
