#include <gtest/gtest.h>

// The program itself is run here through a POSIX shell; on Windows, tests/windows compares its
// output byte for byte with this system's.

#include <string>
#include <vector>

#include "tests/support/cli_run.h"

namespace {

using wallcalc::testing::CliRun;

CliRun cli(const std::vector<std::string>& args) { return wallcalc::testing::runCli(WALLCALC_CLI, args); }

}  // namespace

TEST(Cli, ExitStatusAndOutputShape) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string contains;
    };
    const std::vector<Case> cases = {
        {{"strength"}, 0, "\"Text23\": \"96.1\""},
        {{"strength"}, 0, "\"fault\": null}"},
        {{}, 0, "\"Text29\": \"计算书\\r\\n\""},
        {{"--set", "Combo1=", "crack"},
         3,
         "\"fault\": {\"number\": 13, \"description\": \"类型不匹配\", \"action\": \"crack\", \"what\": "},
        {{"report"}, 3, "\"action\": \"report\""},
        {{"--set", "Text4=172", "strength"}, 3, "\"number\": 5"},
        {{"--print", "Text24", "strength"}, 0, "110.2688"},
        // The window's rules, through the same code: typed forms read whole, impossible input refused.
        {{"--set", "Text9=4,500", "--print", "Text7", "strength"}, 0, "1527.315"},
        {{"--set", "Text9=４５００", "--print", "Text7", "strength"}, 0, "1527.315"},
        {{"--set", "Text10=C30", "strength"}, 3, "\"number\": 5"},
        {{"--set", "Text9=4,50", "strength"}, 3, "逗号只能用作千位分隔符"},
        {{"--set", "Text24=-100", "crack"}, 3, "\"what\": \"弯距标准值Mk："},
        {{"--set", "Text1=\"quoted\" \\ x", "--print", "Text1"}, 0, "\"quoted\" \\ x"},
        {{"--set", "Text1=a\"b"}, 0, "\"Text1\": \"a\\\"b\""},
        {{"bogus"}, 2, ""},
        {{"--set", "Text99=1"}, 2, ""},
        {{"--set", "Text1"}, 2, ""},
        {{"--set"}, 2, ""},
        {{"--print", "Nope"}, 2, ""},
    };
    for (const Case& c : cases) {
        CliRun run = cli(c.args);
        std::string label = c.args.empty() ? "(no arguments)" : c.args.back();
        EXPECT_EQ(run.status, c.status) << label;
        EXPECT_NE(run.out.find(c.contains), std::string::npos) << label << "\n" << run.out;
        if (c.status == 2) {
            EXPECT_TRUE(run.out.empty()) << label;
        }
    }
    std::string report = cli({"--print", "Text29", "crack", "report"}).out;
    EXPECT_TRUE(report.starts_with("                    计 算 书\r\n")) << report;
    EXPECT_TRUE(report.ends_with("          不满足要求！\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n")) << report;
}

TEST(Cli, AFailingActionChangesNothingAndStopsTheRest) {
    // The crack check fails on the bar grade after it would have written four fields; the
    // strength results of the first action stand, the report never runs.
    CliRun failed = cli({"--set", "Combo1=x", "strength", "crack", "report"});
    CliRun strengthOnly = cli({"--set", "Combo1=x", "strength"});
    EXPECT_EQ(failed.status, 3);
    std::string fields = strengthOnly.out.substr(0, strengthOnly.out.find(", \"fault\""));
    EXPECT_EQ(failed.out.substr(0, failed.out.find(", \"fault\"")), fields);
    EXPECT_NE(failed.out.find("\"action\": \"crack\""), std::string::npos);
}
