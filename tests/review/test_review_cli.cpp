#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/cli_run.h"

namespace {

using wallcalc::testing::CliRun;

CliRun cli(const std::vector<std::string>& args) { return wallcalc::testing::runCli(WALLCALC_CLI, args); }

std::string fieldsPart(const std::string& out) { return out.substr(0, out.find(", \"fault\"")); }
std::string reviewPart(const std::string& out) { return out.substr(out.find("\"review\": ")); }

bool has(const std::string& out, const std::string& part) { return out.find(part) != std::string::npos; }

// The review sits beside the fields and the fault, its keys in order, its numbers as JSON
// numbers; the fields stay as they were.
TEST(ReviewCli, JsonShapeAndFieldsUntouched) {
    const CliRun plain = cli({});
    const CliRun run = cli({"review"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(fieldsPart(run.out), fieldsPart(plain.out));
    EXPECT_TRUE(has(run.out,
                    "\"fault\": null, \"review\": {\"edition\": \"current\", \"support\": \"propped\", "
                    "\"storeys\": [4.5], \"loads\": {\"G\": [[0.5, 4.5], [5, 74.25]], \"Q\": [[0.5, 5], [5, 5]], "
                    "\"G_sls\": [[0.5, 4.5], [5, 74.25]]}, \"sections\": [{\"name\": \"span1\", \"x\": 1.93"))
        << run.out;
    const char* keys[] = {"\"M_uls\": ",
                          "\"M_sls\": ",
                          "\"h0\": ",
                          "\"alpha_s\": ",
                          "\"xi\": ",
                          "\"As\": ",
                          "\"As_min\": ",
                          "\"As_req\": ",
                          "\"given\": {\"bars\": [{\"d\": 16, \"s\": 100}], \"As_p\": ",
                          "\"deq\": 16, ",
                          "\"sigma_s\": ",
                          "\"rho_te\": ",
                          "\"psi\": ",
                          "\"w\": ",
                          "\"ok\": true}, \"choice\": [{\"d\": ",
                          "\"governs\": ",
                          "\"note\": \"\"}, {\"name\": \"base\", \"x\": 4.5, \"M_uls\": 156.2034375, ",
                          "\"shear\": [{\"at\": \"top\", \"x\": 0, \"V\": ",
                          "\"h0\": 242, \"beta_h\": 1, \"Vc\": ",
                          "{\"at\": \"base\", \"x\": 4.5, ",
                          "\"warnings\": [\"HRB335_withdrawn\"], \"ok\": false}"};
    std::size_t at = 0;
    for (const char* key : keys) {
        const std::size_t next = run.out.find(key, at);
        EXPECT_NE(next, std::string::npos) << key;
        at = next;
    }
    EXPECT_TRUE(run.out.ends_with("\"ok\": false}}\n")) << run.out;
    EXPECT_FALSE(has(run.out, "\"name\": \"top\""));
    EXPECT_TRUE(has(cli({"review", "--option", "support=fixed"}).out, "\"sections\": [{\"name\": \"top\", \"x\": 0, "));
    EXPECT_TRUE(has(cli({"review", "--option", "upper_storeys=3600", "--option", "support=envelope"}).out,
                    "\"support\": \"envelope\", \"storeys\": [3.6, 4.5], "));

    // Without the review nothing of it shows; with the other actions the fields are theirs.
    EXPECT_FALSE(has(plain.out, "review"));
    const CliRun both = cli({"strength", "review"});
    EXPECT_EQ(fieldsPart(both.out), fieldsPart(cli({"strength"}).out));
    EXPECT_TRUE(has(both.out, "\"review\": {"));
}

// Impossible inputs: fault 5 of the review naming the field or the option, no "review" key,
// the fields unchanged, exit status 3; the first fault in the order options, Text10, Text13,
// Text9, Text4, Text17, Text25, Text1, Text2, then the effective depths.
TEST(ReviewCli, Faults) {
    struct Case {
        std::vector<std::string> args;
        std::string names;
    };
    const Case cases[] = {
        {{"--option", "bogus=1"}, "bogus"},
        {{"--option", "gamma0=abc"}, "gamma0"},
        {{"--option", "edition=2010"}, "edition"},
        {{"--option", "support=pinned"}, "support"},
        {{"--option", "psi_q=-0.1"}, "psi_q"},
        {{"--option", "cover_in=-5"}, "cover_in"},
        {{"--option", "wlim_out=0"}, "wlim_out"},
        {{"--option", "dh=-1"}, "dh"},
        {{"--set", "Text10=C30"}, "Text10"},
        {{"--set", "Text10=32"}, "Text10"},
        {{"--set", "Text13=400"}, "Text13"},
        {{"--set", "Text9=0"}, "Text9"},
        {{"--set", "Text4=-300"}, "Text4"},
        {{"--set", "Text17=0"}, "Text17"},
        {{"--set", "Text25=0"}, "Text25"},
        {{"--set", "Text1=-1"}, "Text1"},
        {{"--set", "Text2=-0.5"}, "Text2"},
        // h0 = 100 − 92 − 0 − 16/2 = 0 (58 mm, as before, is no wall's thickness now).
        {{"--set", "Text4=100", "--option", "cover_out=92"}, "cover_out"},
        {{"--set", "Text4=100", "--option", "cover_in=92"}, "cover_in"},
        // Several faults: the first in order.
        {{"--set", "Text10=31", "--option", "K0=-1"}, "K0"},
        {{"--set", "Text13=1", "--set", "Text10=31"}, "Text10"},
        {{"--set", "Text2=-1", "--set", "Text17=-1"}, "Text17"},
        {{"--set", "Text2=-1", "--set", "Text4=100", "--option", "cover_out=92"}, "Text2"},
        // The options of the wall as built.
        {{"--option", "support=pinned"}, "envelope"},
        {{"--option", "bars_out=16"}, "bars_out"},
        {{"--option", "bars_out=16@0"}, "bars_out"},
        {{"--option", "bars_in=16@100+14@200+12@200"}, "bars_in"},
        {{"--option", "bars_in=a@b"}, "bars_in"},
        {{"--option", "bars_in=16@100+"}, "bars_in"},
        {{"--option", "upper_storeys=3600/0"}, "upper_storeys"},
        {{"--option", "upper_storeys=3600//3900"}, "upper_storeys"},
        {{"--option", "upper_storeys=3.6m"}, "upper_storeys"},
        {{"--option", "h1_sls=-1"}, "h1_sls"},
        {{"--option", "crack_cover_out=-5"}, "crack_cover_out"},
        {{"--option", "bars_out=600@100"}, "bars_out"},
        {{"--option", "bars_in=600@100"}, "bars_in"},
        {{"--set", "Text17=600"}, "Text17"},
        // Options first, in the order given.
        {{"--set", "Text10=31", "--option", "bars_in=1", "--option", "h1_sls=-1"}, "bars_in"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> sets;
        for (std::size_t i = 0; i + 1 < c.args.size(); i += 2)
            if (c.args[i] == "--set") sets.insert(sets.end(), {c.args[i], c.args[i + 1]});
        const std::string plain = fieldsPart(cli(sets).out);
        std::vector<std::string> args = c.args;
        args.push_back("review");
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 3) << c.names;
        EXPECT_EQ(fieldsPart(run.out), plain) << c.names;
        EXPECT_TRUE(has(run.out,
                        "\"fault\": {\"number\": 5, \"description\": \"无效的过程调用或参数\", "
                        "\"action\": \"review\", \"what\": "))
            << run.out;
        const std::string what = run.out.substr(run.out.find("\"what\": "));
        EXPECT_TRUE(has(what, c.names)) << c.names << "\n" << what;
        EXPECT_FALSE(has(run.out, "\"review\": {")) << c.names;
    }
}

// Grades read by the numeric prefix like the four buttons ("30.0" is C30); an option given
// twice counts at its last value; --option without the review or without "=" is a usage error.
TEST(ReviewCli, ReadingsAndOptions) {
    const std::string plain = reviewPart(cli({"review"}).out);
    EXPECT_EQ(reviewPart(cli({"--set", "Text10=30.0", "review"}).out), plain);
    EXPECT_EQ(reviewPart(cli({"review", "--option", "edition=2002", "--option", "edition=current"}).out), plain);
    EXPECT_TRUE(has(cli({"review", "--option", "edition=2002"}).out, "\"edition\": \"2002\""));
    EXPECT_EQ(cli({"--option", "edition=2002"}).status, 2);
    EXPECT_EQ(cli({"review", "--option", "edition"}).status, 2);
    EXPECT_EQ(cli({"review", "--option"}).status, 2);
    // The wall wholly above the ground carries nothing.
    const CliRun above = cli({"--set", "Text3=-1", "review"});
    EXPECT_EQ(above.status, 0);
    EXPECT_TRUE(has(above.out, "{\"name\": \"span1\", \"x\": 2.25, \"M_uls\": 0, \"M_sls\": 0, ")) << above.out;
}

// --report prints the review report (CR LF line ends) in place of the JSON; a refused wall still
// prints the JSON with its fault.
TEST(ReviewCli, ReportInPlaceOfTheJson) {
    const CliRun run = cli({"review", "--report", "--option", "upper_storeys=3600", "--option", "edition=2002"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("                         地下室外墙复核计算书\r\n")) << run.out;
    EXPECT_TRUE(has(run.out, "（2002版规范复核）\r\n"));
    EXPECT_TRUE(has(run.out, "（1）第1层跨中"));
    EXPECT_FALSE(has(run.out, "\"fields\""));
    EXPECT_EQ(run.out.find("\n"), run.out.find("\r\n") + 1);
    const CliRun refused = cli({"--set", "Text10=32", "review", "--report"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(has(refused.out, "\"action\": \"review\"")) << refused.out;
    EXPECT_EQ(cli({"strength", "--report"}).status, 2);
    EXPECT_EQ(cli({"review", "--report", "--print", "Text5"}).status, 2);
}

}  // namespace
