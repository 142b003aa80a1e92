// The document saver on Windows through a real COM runtime, against the stand-in Word of
// word_stand_in.cpp: the calls of one save and of several, the file that appears (the stand-in's
// SaveAs2 writes the format and the text it got), the faults, and the command line's saves.

// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "core/fault.h"
#include "office/word_office.h"
#include "tests/windows/stand_in_fixture.h"

namespace wallcalc {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using testing::lines;

// Two lines, the second with the report's private-use ₁ and ², which reach Word as "As₁＝1527mm²":
// 3 + 1 (the one CR between the lines) + 11 UTF-16 units.
const std::string kReport = "计算书\r\nAs\uE020＝1527mm\uE010\r\n";
const std::vector<std::string> kParagraphs = {"计算书", "As₁＝1527mm²"};
constexpr int kTextUnits = 15;

const std::vector<std::string> kStart = {"create Application", "Application.Visible put VT_BOOL false",
                                         "Application.DisplayAlerts put VT_I4 0"};
const std::vector<std::string> kQuit = {"Application.Quit method VT_I4 0", "release Application"};

// One save's calls up to SaveAs2, whose file name's length the log shows as "*".
std::vector<std::string> saveCalls(int format) {
    return {"Application.Documents method|get",
            "Documents.Add method|get",
            "release Documents",
            "Document.Paragraphs method|get VT_I2 1",
            "Paragraph.Range method|get",
            "Range.Text put VT_BSTR " + std::to_string(kTextUnits),
            "release Range",
            "release Paragraph",
            "Document.SaveAs2 method VT_BSTR * VT_I4 " + std::to_string(format)};
}
const std::vector<std::string> kClosed = {"Document.Close method VT_I4 0", "release Document"};

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The log with SaveAs2's file name length (a temporary name of the saver's choice) as "*".
std::vector<std::string> maskNames(std::vector<std::string> log) {
    const std::string prefix = "Document.SaveAs2 method VT_BSTR ";
    for (std::string& line : log)
        if (line.starts_with(prefix)) line.replace(prefix.size(), line.find(' ', prefix.size()) - prefix.size(), "*");
    return log;
}

std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<fs::path> entries(const fs::path& folder) {
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(folder)) out.push_back(entry.path().filename());
    std::sort(out.begin(), out.end());
    return out;
}

class WordSaverTest : public testing::WordStandInTest {
protected:
    void SetUp() override {
        folder_ = control_ / ("out" + std::to_string(cases_ + 1));
        fs::create_directories(folder_);
    }

    static Fault saveFault(WordOffice& saver, const fs::path& path, DocumentFormat format) {
        try {
            saver.saveReport(kReport, path, format);
        } catch (const FaultError& error) {
            return error.fault();
        }
        return Fault{0, "", ""};
    }

    fs::path folder_;
};

TEST_F(WordSaverTest, OneSaverStartsWordOnceHiddenSavesEachFormatAndQuitsItOnce) {
    const fs::path log = useMode("ok");
    struct Case {
        DocumentFormat format;
        const char* name;
        int fileFormat;  // WdSaveFormat
    };
    const Case cases[] = {{DocumentFormat::Pdf, "墙 1.pdf", 17},
                          {DocumentFormat::Docx, "b.docx", 12},
                          {DocumentFormat::Odt, "c.odt", 23},
                          // A file already there is replaced.
                          {DocumentFormat::Pdf, "墙 1.pdf", 17}};
    std::ofstream(folder_ / fs::u8path("墙 1.pdf"), std::ios::binary) << "old\n";
    std::vector<std::string> calls = kStart;
    {
        WordOffice saver(20s);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const fs::path target = folder_ / fs::u8path(c.name);
            EXPECT_EQ(saveFault(saver, target, c.format).number, 0);
            calls = joined({calls, saveCalls(c.fileFormat), kClosed});
            // Word wrote a file of another name in the same folder, now at the target.
            const std::vector<std::string> file = lines(target);
            ASSERT_EQ(file.size(), 4u);
            EXPECT_EQ(file[0], "format " + std::to_string(c.fileFormat));
            ASSERT_TRUE(file[1].starts_with("name "));
            const fs::path written = fs::u8path(file[1].substr(5));
            EXPECT_EQ(written.parent_path(), target.parent_path());
            EXPECT_NE(written.filename(), target.filename());
            EXPECT_EQ(std::vector<std::string>(file.begin() + 2, file.end()), kParagraphs);
        }
    }
    calls = joined({calls, kQuit});
    EXPECT_EQ(maskNames(logOf(log, calls.size())), calls);
    EXPECT_EQ(entries(folder_), (std::vector<fs::path>{"b.docx", "c.odt", fs::u8path("墙 1.pdf")}));
}

TEST_F(WordSaverTest, AFailedSaveLeavesTheTargetAsItWasAndNoTemporaryFile) {
    struct Case {
        std::string mode;
        bool targetIsFolder;  // else a file "old" stands at the target
        std::string what;
        bool quitAtOnce;  // else Word is kept for the next save, and quit at the saver's end
    };
    const Case cases[] = {
        {"fail SaveAs2", false, "文字处理软件拒绝了 SaveAs2：模拟的拒绝：SaveAs2", false},
        // A Word that cannot close a document is not used again.
        {"fail Close", false, "文字处理软件拒绝了 Close：模拟的拒绝：Close", true},
        // Word saved, but the rename onto the target fails.
        {"ok", true, "无法保存计算书 ", false},
    };
    const std::vector<std::string> calls = joined({kStart, saveCalls(23), kClosed, kQuit});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SetUp();
        const fs::path log = useMode(c.mode);
        const fs::path target = folder_ / "r.odt";
        if (c.targetIsFolder)
            fs::create_directories(target / "inside");
        else
            std::ofstream(target, std::ios::binary) << "old\n";
        {
            WordOffice saver(20s);
            const Fault fault = saveFault(saver, target, DocumentFormat::Odt);
            EXPECT_EQ(fault.number, 440);
            EXPECT_TRUE(fault.what.starts_with(c.what)) << fault.what;
            // The worker quits Word before it answers.
            EXPECT_EQ(lines(log).back(), c.quitAtOnce ? "release Application" : "release Document");
        }
        EXPECT_EQ(maskNames(logOf(log, calls.size())), calls);
        EXPECT_EQ(entries(folder_), std::vector<fs::path>{"r.odt"});
        if (!c.targetIsFolder) {
            EXPECT_EQ(read(target), "old\n");
        }
    }
}

TEST_F(WordSaverTest, WithoutAServerRegisteredTheSaveCannotCreateTheObject) {
    ASSERT_EQ(testing::standIn(L"/unregserver"), 0);
    WordOffice saver(20s);
    const Fault fault = saveFault(saver, folder_ / "r.pdf", DocumentFormat::Pdf);
    EXPECT_EQ(fault.number, 429);
    EXPECT_TRUE(fault.what.starts_with("无法启动文字处理软件：没有注册 word.application（")) << fault.what;
    EXPECT_TRUE(entries(folder_).empty());
    ASSERT_EQ(registerStandIn(), 0);
}

TEST_F(WordSaverTest, ASaveThatHangsEndsAtTheDeadlineAndItsWordIsQuitOnceFree) {
    // SaveAs2 answers after 5 s, writing the temporary file then; the save gives up after 3 s
    // (starting the stand-in under Wine may take a second).
    const fs::path log = useMode("hang SaveAs2 5000");
    WordOffice saver(3000ms);
    const auto start = std::chrono::steady_clock::now();
    const Fault fault = saveFault(saver, folder_ / "r.pdf", DocumentFormat::Pdf);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(fault.number, 440);
    EXPECT_EQ(fault.what, "文字处理软件在3秒内没有响应");
    EXPECT_GE(took, 3000ms);
    EXPECT_LT(took, 4000ms);
    // Once free, the worker closes nothing more, removes what Word wrote and quits it.
    const std::vector<std::string> calls =
        joined({kStart, saveCalls(17), {"SaveAs2 hangs", "release Document"}, kQuit});
    EXPECT_EQ(maskNames(logOf(log, calls.size())), calls);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(entries(folder_).empty());

    // The next save starts a Word of its own.
    const fs::path next = useMode("ok");
    EXPECT_EQ(saveFault(saver, folder_ / "r.pdf", DocumentFormat::Pdf).number, 0);
    EXPECT_EQ(lines(folder_ / "r.pdf").at(0), "format 17");
    EXPECT_EQ(lines(next).at(0), "create Application");
}

// The command line as built here, a Unix path under Wine's drive Z:.
fs::path cliProgram() {
    std::string path = WALLCALC_CLI_EXE;
    if (path.starts_with("/")) path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return fs::path(path);
}

TEST_F(WordSaverTest, TheCommandLineSavesTheReportAndABatchItsDocumentsThroughOneWord) {
    // --save-report after the three actions: the defaults' report, whose As₁ is 1527.315 mm².
    const fs::path one = useMode("ok");
    const fs::path pdf = folder_ / fs::u8path("墙 1.pdf");
    ASSERT_EQ(
        testing::run(cliProgram(), L"strength crack report --print Text1 --save-report \"" + pdf.wstring() + L"\""), 0);
    const std::string report = read(pdf);
    EXPECT_TRUE(report.starts_with("format 17\n")) << report;
    EXPECT_NE(report.find("As₁＝α₁*fc*b*x₁/fy=1527.315mm²\n"), std::string::npos) << report;
    EXPECT_EQ(lines(one).back(), "release Application");

    // Two rows, each with its 计算书 and its review report: four Word files, one Word.
    const fs::path batch = useMode("ok");
    std::ofstream(folder_ / "walls.csv", std::ios::binary) << "name,Text1\r\nA,\r\nB,30\r\n";
    ASSERT_EQ(testing::run(cliProgram(), L"batch \"" + (folder_ / "walls.csv").wstring() + L"\" --out \"" +
                                             (folder_ / "out").wstring() + L"\" --documents docx"),
              0);
    for (const char* name : {"A.report.docx", "B.report.docx", "A.review.docx", "B.review.docx"})
        EXPECT_TRUE(read(folder_ / "out" / name).starts_with("format 12\n")) << name;
    EXPECT_NE(read(folder_ / "out" / "A.review.docx").find("地下室外墙复核计算书"), std::string::npos);
    const std::vector<std::string> log = lines(batch);
    EXPECT_EQ(std::count(log.begin(), log.end(), "create Application"), 1);
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.starts_with("Document.SaveAs2"); }),
        4);
    EXPECT_EQ(log.back(), "release Application");
}

}  // namespace
}  // namespace wallcalc
