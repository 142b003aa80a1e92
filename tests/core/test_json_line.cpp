// JSON on one line: the bytes the command line's users read and compare.

#include <gtest/gtest.h>

#include <limits>
#include <nlohmann/json.hpp>

#include "core/json_line.h"
#include "core/utf8.h"

namespace wallcalc {
namespace {

using nlohmann::ordered_json;

TEST(JsonLine, TextsAreValidUtf8AndNotAsciiEscaped) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"满足要求", "\"满足要求\""},
        {"a\r\nb\t", "\"a\\r\\nb\\t\""},
        {"\x01\x7f", "\"\\u0001\\u007f\""},
        {"\b\f", "\"\\u0008\\u000c\""},
        {"\\b \"x\"", "\"\\\\b \\\"x\\\"\""},
        {"\uE010", "\"\uE010\""},
        {"\xff"
         "a",
         "\"\uFFFD"
         "a\""},
        // One U+FFFD a byte: a cut sequence, a surrogate, an overlong form.
        {"\xe8\xae", "\"\uFFFD\uFFFD\""},
        {"\xed\xa0\x80", "\"\uFFFD\uFFFD\uFFFD\""},
        {"\xc0\xaf", "\"\uFFFD\uFFFD\""},
    };
    for (const Case& c : cases) EXPECT_EQ(oneLineJson(c.in), c.out) << c.in;
    EXPECT_TRUE(isUtf8("满足 \U0001D45E"));
    EXPECT_FALSE(isUtf8("\xf4\x90\x80\x80"));  // above U+10FFFF
}

TEST(JsonLine, MembersInOrderAndNumbersAtFullPrecision) {
    ordered_json value;
    value["fields"] = {{"Text9", "4500"}, {"Text1", "10"}};
    value["fault"] = nullptr;
    value["numbers"] = {0.1, 1e40, -0.0, 100.0, 0.1 + 0.2, 51, std::numeric_limits<double>::infinity()};
    value["ok"] = true;
    value["empty"] = ordered_json::object();
    EXPECT_EQ(oneLineJson(value),
              "{\"fields\": {\"Text9\": \"4500\", \"Text1\": \"10\"}, \"fault\": null, "
              "\"numbers\": [0.1, 1e+40, 0, 100, 0.30000000000000004, 51, null], \"ok\": true, \"empty\": {}}");
}

}  // namespace
}  // namespace wallcalc
