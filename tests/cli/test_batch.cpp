// The command line on wall files and batches: --input under --set, and a batch of good and bad
// rows.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    std::string out, err;
    int status;
};

CliRun cli(const std::string& args, const fs::path& dir) {
    const fs::path err = dir / "stderr.txt";
    const std::string command = std::string(WALLCALC_CLI) + " " + args + " 2>" + err.string();
    FILE* pipe = popen(command.c_str(), "r");
    CliRun run{{}, {}, -1};
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    run.err = text.str();
    return run;
}

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("cli-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(CliFiles, InputFileThenSetOnTop) {
    std::ofstream(dir / "w.wall") << R"({"format": "wallcalc-wall", "version": 1,
        "fields": {"Text1": "20", "Text4": "350"}})";
    const std::string input = "--input " + (dir / "w.wall").string();
    // --set wins over the file wherever it stands; the file over the defaults.
    EXPECT_EQ(cli("--set Text1=30 " + input + " --print Text1", dir).out, "30");
    EXPECT_EQ(cli(input + " --print Text4", dir).out, "350");
    // Q = 1.4·0.5·20 + 1.2·(4.5 + 24.75 + 45) = 103.1 kN.
    EXPECT_EQ(cli(input + " strength --print Text23", dir).out, "103.1");

    std::ofstream(dir / "bad.wall") << "{\"format\": \"wallcalc-wall\", \"version\": 7}";
    const CliRun bad = cli("--input " + (dir / "bad.wall").string() + " strength", dir);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("格式版本为 7"), std::string::npos) << bad.err;
}

TEST_F(CliFiles, BatchGoesOnPastBadRowsAndSaysWhichFailed) {
    // Line 1 the header; 2 the defaults; 3 a 250 mm wall over a 50 mm cover leaves no depth
    // (fault); 4 an unknown support; 5 too few cells; 6 a quoted name and the 2002 edition.
    std::ofstream(dir / "walls.csv") << "name,Text1,Text4,support,edition\r\n"
                                        "A,,,,\r\n"
                                        "B,10,50,,\r\n"
                                        "C,10,300,hinged,\r\n"
                                        "D,10\r\n"
                                        "\"E, east\",10,300,fixed,2002\r\n";
    const CliRun run = cli("batch " + (dir / "walls.csv").string() + " --out " + (dir / "out").string(), dir);
    EXPECT_EQ(run.status, 3);
    for (const char* row : {"row 3 (B)", "row 4 (C)", "row 5"}) EXPECT_NE(run.err.find(row), std::string::npos) << row;
    EXPECT_EQ(run.err.find("row 2"), std::string::npos);
    EXPECT_EQ(run.err.find("walls"), std::string::npos) << "no progress when stderr is a file";

    // Defaults: M1 107.2080 kN·m and As1 1527.315 mm².
    const std::string a = read(dir / "out" / "A.json");
    EXPECT_NE(a.find("\"Text5\": \"107.2080\""), std::string::npos);
    EXPECT_NE(a.find("\"fault\": null"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "out" / "E, east.json"));
    EXPECT_FALSE(fs::exists(dir / "out" / "C.json"));

    std::vector<std::string> lines;
    std::istringstream summary(read(dir / "out" / "summary.csv"));
    for (std::string line; std::getline(summary, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(lines[0].starts_with("name,")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("A,10,0.5,5,300,4500,30,300,16,100,107.2080,1527.315,")) << lines[1];
    EXPECT_TRUE(lines[1].ends_with(",\r")) << "no error for A";
    EXPECT_TRUE(lines[5].starts_with("\"E, east\",")) << lines[5];

    // Everything right: status 0.
    std::ofstream(dir / "good.csv") << "name,Text1\nA,10\nB,12\n";
    EXPECT_EQ(cli("batch " + (dir / "good.csv").string() + " --out " + (dir / "good").string(), dir).status, 0);
    // fy 310 N/mm² is no steel of the review's table: the four buttons' results stand (M1 as the
    // defaults'), the review's fault is in the JSON and the row counts as failed.
    std::ofstream(dir / "review.csv") << "name,Text13\nG,310\n";
    const CliRun refused = cli("batch " + (dir / "review.csv").string() + " --out " + (dir / "refused").string(), dir);
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("row 2 (G): review: 5 "), std::string::npos) << refused.err;
    const std::string g = read(dir / "refused" / "G.json");
    EXPECT_NE(g.find("\"Text5\": \"107.2080\""), std::string::npos) << g;
    EXPECT_NE(g.find("\"action\": \"review\""), std::string::npos) << g;
    EXPECT_EQ(g.find("\"review\": {"), std::string::npos) << g;
    EXPECT_NE(read(dir / "refused" / "summary.csv").find("G,10,0.5,5,300,4500,30,310,16,100,107.2080,"),
              std::string::npos);
    // A header that names no wall column is a usage error.
    std::ofstream(dir / "nohead.csv") << "Text1,Text99\n10,1\n";
    EXPECT_EQ(cli("batch " + (dir / "nohead.csv").string() + " --out " + (dir / "x").string(), dir).status, 2);
}

// The summary has one column group per section any wall of the batch has, from the top, empty
// where a wall lacks it, then the shear verdict and the warnings. A: one storey, propped (span1,
// base); B: two storeys, fixed top (top, span1, slab1, span2, base), HRB400, its shear failing at
// the middle slab and the base (H 9 m, 4.5 + 4.5 m of storeys, 300 mm).
TEST_F(CliFiles, BatchSummaryHasEverySectionOfTheBatch) {
    std::ofstream(dir / "walls.csv") << "name,Text3,Text13,upper_storeys,support\n"
                                        "A,,,,\n"
                                        "B,9,360,4500,fixed\n";
    const CliRun run = cli("batch " + (dir / "walls.csv").string() + " --out " + (dir / "out").string(), dir);
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines;
    std::istringstream summary(read(dir / "out" / "summary.csv"));
    for (std::string line; std::getline(summary, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    std::string groups;
    for (const char* section : {"top", "span1", "slab1", "span2", "base"})
        groups +=
            std::string("\"") + section + " As,req\"," + section + " w," + section + " verdict," + section + " bars,";
    EXPECT_TRUE(lines[0].ends_with("verdict (Text18)," + groups + "shear,warnings,error\r")) << lines[0];
    // A has no top, slab1 or span2: four empty cells each; the window's wall passes shear, HRB335
    // is no longer rolled.
    EXPECT_NE(lines[1].find("不满足要求！,,,,,930.8,0.0282,满足,Φ12@120,,,,,,,,,2402,"), std::string::npos) << lines[1];
    EXPECT_TRUE(lines[1].ends_with(",满足,HRB335_withdrawn,\r")) << lines[1];
    EXPECT_TRUE(lines[2].ends_with(",不满足（slab1 base）,,\r")) << lines[2];
}

}  // namespace
