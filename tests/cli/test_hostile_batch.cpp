// Batches as a careless or a hostile table would have them: every row either goes through or is
// reported alone with its line number, and nothing written can run in a spreadsheet or land
// outside the output directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/cli_run.h"

namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class HostileBatch : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("hostile-batch-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir / "out");
    }
    void TearDown() override { fs::remove_all(dir); }

    struct Run {
        int status;
        std::string err;
    };
    Run batch(const std::string& csv) {
        std::ofstream(dir / "walls.csv", std::ios::binary) << csv;
        const fs::path err = dir / "stderr.txt";
        const int status =
            wallcalc::testing::runCli(
                WALLCALC_CLI, {"batch", (dir / "walls.csv").string(), "--out", (dir / "out").string()}, err.string())
                .status;
        return {status, read(err)};
    }
    // The summary's line that starts with `first`, or "".
    std::string summaryLine(const std::string& first) {
        std::istringstream summary(read(dir / "out" / "summary.csv"));
        for (std::string line; std::getline(summary, line);)
            if (line.starts_with(first + ",")) return line;
        return {};
    }
    fs::path dir;
};

TEST_F(HostileBatch, EachRowGoesThroughOrIsReportedAlone) {
    struct Row {
        std::string csv;      // the row as the file has it, without its line end
        bool passes;          // the wall is computed
        std::string summary;  // how its line of summary.csv begins ("" for none to check)
        std::string message;  // what stderr says of it besides its line number
    };
    const std::vector<Row> rows = {
        {"A,10,300", true, "A,10,", ""},
        // Cells a spreadsheet would run get a leading '; a signed number stays a number.
        {"=1+1,10,300", true, "'=1+1,10,", ""},
        {"@SUM,+10,300", true, "'@SUM,+10,", ""},
        {"B,-10,300", false, "B,-10,", "地面堆载为负"},
        {"C,-1+1,300", false, "C,'-1+1,", "地面堆载为负"},
        // A quote inside a cell spoils that row alone.
        {"D,1\"0,300", false, "", "引号"},
        {"E,10,300", true, "E,10,", ""},
        // Names Windows would confuse or refuse.
        {"b1,10,300", true, "b1,", ""},
        {"B1,10,300", false, "", "重复"},
        {"NUL,10,300", false, "", "设备名"},
        {"com1.txt,10,300", false, "", "设备名"},
        {"F.,10,300", false, "", "以点或空格结尾"},
        {"G ,10,300", false, "", "以点或空格结尾"},
        {"H\u202Etxt.exe,10,300", false, "", "H<U+202E>txt.exe"},
        // A quote left open: that row is reported, the next line read again.
        {"\"I,10,300", false, "", "引号没有闭合"},
        {"J,10,300", true, "J,10,", ""},
    };
    std::string csv = "name,Text1,Text4\r\n";
    for (const Row& row : rows) csv += row.csv + "\r\n";
    const Run run = batch(csv);
    EXPECT_EQ(run.status, 3);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const std::string line = "row " + std::to_string(i + 2);
        const std::size_t at = run.err.find(line + " ");
        const std::size_t atColon = run.err.find(line + ":");
        const bool reported = at != std::string::npos || atColon != std::string::npos;
        EXPECT_EQ(reported, !row.passes) << row.csv << "\n" << run.err;
        if (!row.message.empty()) {
            const std::size_t from = std::min(at, atColon);
            EXPECT_NE(run.err.find(row.message, from), std::string::npos) << row.csv << "\n" << run.err;
        }
        if (!row.summary.empty()) {
            const std::string first = row.summary.substr(0, row.summary.find(','));
            EXPECT_TRUE(summaryLine(first).starts_with(row.summary)) << summaryLine(first);
        }
    }
    // No raw direction mark reaches the terminal; no file for a refused name.
    EXPECT_EQ(run.err.find("\u202E"), std::string::npos);
    EXPECT_EQ(read(dir / "out" / "summary.csv").find("\u202E"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "out" / "J.json"));
    EXPECT_TRUE(fs::exists(dir / "out" / "=1+1.json"));
    EXPECT_FALSE(fs::exists(dir / "out" / "NUL.json"));
    // No cell of the summary starts a formula.
    std::istringstream summary(read(dir / "out" / "summary.csv"));
    for (std::string line; std::getline(summary, line);) {
        for (char first : {'=', '@'}) EXPECT_EQ(line.find(std::string(",") + first), std::string::npos) << line;
        EXPECT_NE(line.front(), '=') << line;
    }
}

// A table saved by a Chinese spreadsheet (GBK) reads as GB18030: names and full-width digits
// arrive as typed, summary.csv is UTF-8 alone.
TEST_F(HostileBatch, GbkTableIsReadAsGb18030) {
    const Run run = batch("name,Text1\r\n\xB1\xB1\xC7\xBD,\xA3\xB2\xA3\xB0\r\n");  // 北墙,２０
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("GB18030"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(dir / "out" / fs::u8path("北墙.json")));
    // q = 20: KaP = 0.5 × 20 = 10 kN/m², Q = 1.2 × (4.5 + 24.75 + 45) + 1.4 × 10 = 103.1.
    EXPECT_NE(read(dir / "out" / fs::u8path("北墙.json")).find("\"Text23\": \"103.1\""), std::string::npos);
    EXPECT_TRUE(summaryLine("北墙").starts_with("北墙,２０,")) << read(dir / "out" / "summary.csv");

    const Run broken = batch("name,Text1\r\nA,\xFF\xFF\r\n");
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("neither UTF-8 nor GB18030"), std::string::npos) << broken.err;
}

// A link in the output directory is replaced by the wall's own file, never written through.
TEST_F(HostileBatch, OutputsReplaceLinksInsteadOfWritingThroughThem) {
    const fs::path outside = dir / "outside.txt";
    std::ofstream(outside) << "keep";
    fs::create_symlink(outside, dir / "out" / "A.json");
    fs::create_symlink(outside, dir / "out" / "summary.csv");
    const Run run = batch("name\r\nA\r\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read(outside), "keep");
    EXPECT_FALSE(fs::is_symlink(dir / "out" / "A.json"));
    EXPECT_FALSE(fs::is_symlink(dir / "out" / "summary.csv"));
    EXPECT_NE(read(dir / "out" / "A.json").find("\"fault\": null"), std::string::npos) << read(dir / "out" / "A.json");
}

}  // namespace
