// The Word export through a real COM runtime, against the stand-in Word of word_stand_in.cpp,
// registered as "Word.Application" for the length of these tests.

// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/fault.h"
#include "core/fields.h"
#include "office/plain_symbols.h"
#include "office/word_office.h"
#include "report/compose.h"
#include "tests/windows/stand_in_fixture.h"

namespace wallcalc {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using testing::lines;
using testing::standIn;

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        out.push_back(text.substr(start, at - start));
    out.push_back(text.substr(start));
    return out;
}

// The report of the worked example: the defaults after both calculations.
std::string workedReport() {
    FieldSet fields;
    strengthCalculation(fields);
    crackWidthCheck(fields);
    return reportText(fields);
}

std::size_t utf16Units(const std::string& utf8) {
    return static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0));
}

std::size_t privateUseCharacters(const std::string& utf8) {
    std::size_t count = 0;  // U+E000..U+F8FF: EE 80 80 .. EF A3 BF in UTF-8
    for (std::size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto a = static_cast<unsigned char>(utf8[i]), b = static_cast<unsigned char>(utf8[i + 1]);
        if (a == 0xEE || (a == 0xEF && b <= 0xA3)) ++count;
    }
    return count;
}

class WordStandIn : public testing::WordStandInTest {
protected:
    static Fault exportFault(const std::string& report, std::chrono::milliseconds deadline = 20s) {
        try {
            WordOffice(deadline).exportReport(report);
        } catch (const FaultError& error) {
            return error.fault();
        }
        return Fault{0, "", ""};
    }
};

// The calls up to the text, each with its arguments as the server received them.
std::vector<std::string> callsUpToText(std::size_t textUnits) {
    return {"create Application",
            "Application.Visible put VT_BOOL true",
            "Application.Documents method|get",
            "Documents.Add method|get",
            "release Documents",
            "Document.Paragraphs method|get VT_I2 1",
            "Paragraph.Range method|get",
            "Range.Text put VT_BSTR " + std::to_string(textUnits)};
}
const std::vector<std::string> kReleasesAfterText = {"release Range", "release Paragraph", "release Document",
                                                     "release Application"};

TEST_F(WordStandIn, PutsEachLineOfTheReportIntoAParagraphOfItsOwn) {
    const std::string worked = workedReport();
    struct Case {
        const char* name;
        std::string report;
        std::vector<std::string> paragraphs;
        std::size_t textUnits;  // what reaches Word: every CR LF but the last becomes one CR
    };
    // Word is given the report's symbols in their standard forms.
    const std::string standard = standardSymbols(worked);
    std::vector<std::string> workedLines = split(standard, "\r\n");
    workedLines.pop_back();  // after the 55th CR LF
    const Case cases[] = {
        {"worked example", worked, workedLines, utf16Units(standard) - 55 - 1},
        {"default text of the report box", "计算书\r\n", {"计算书"}, 3},
        {"empty report box", "", {""}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path log = useMode("ok");
        EXPECT_EQ(exportFault(c.report).number, 0);
        std::vector<std::string> calls = callsUpToText(c.textUnits);
        calls.insert(calls.end(), kReleasesAfterText.begin(), kReleasesAfterText.end());
        EXPECT_EQ(logOf(log, calls.size()), calls);
        const std::vector<std::string> document = lines(fs::path(log) += ".doc");
        EXPECT_EQ(document, c.paragraphs);
    }
    // The worked example: 48 lines and 7 empty ones; the symbols of the report are private-use
    // characters, and none of them reaches Word.
    ASSERT_EQ(workedLines.size(), 55u);
    EXPECT_GT(privateUseCharacters(worked), 0u);
    EXPECT_EQ(privateUseCharacters(standard), 0u);
}

TEST_F(WordStandIn, AFailingCallEndsTheExportWithItsFaultAndReleasesWhatWasObtained) {
    struct Case {
        std::string mode;
        int number;
        std::string what, whatEnd;
        std::vector<std::string> calls;
    };
    const std::string report = "计算书\r\n";
    const std::vector<std::string> all = callsUpToText(3);
    auto upTo = [&](std::size_t n, std::vector<std::string> releases) {
        std::vector<std::string> calls(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n));
        calls.insert(calls.end(), releases.begin(), releases.end());
        return calls;
    };
    const Case cases[] = {
        {"fail Visible", 440, "文字处理软件拒绝了 Visible：模拟的拒绝：Visible", "", upTo(2, {"release Application"})},
        {"fail Add", 440, "文字处理软件拒绝了 Add：模拟的拒绝：Add", "",
         upTo(4, {"release Documents", "release Application"})},
        {"fail Text", 440, "文字处理软件拒绝了 Text：模拟的拒绝：Text", "", upTo(8, kReleasesAfterText)},
        // The exception's own code (E_FAIL), not DISP_E_EXCEPTION, in the system's words.
        {"error Range", 440, "文字处理软件拒绝了 Range：", "(0x80004005)",
         upTo(7, {"release Paragraph", "release Document", "release Application"})},
        {"unknown Range", 440, "文字处理软件不支持 Range：", "0x80020006",
         upTo(6, {"Paragraph.Range unknown", "release Paragraph", "release Document", "release Application"})},
        {"empty Paragraphs", 440, "文字处理软件的 Paragraphs 没有返回对象", "",
         upTo(6, {"release Document", "release Application"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const fs::path log = useMode(c.mode);
        const Fault fault = exportFault(report);
        EXPECT_EQ(fault.number, c.number);
        EXPECT_TRUE(fault.what.starts_with(c.what)) << fault.what;
        EXPECT_TRUE(fault.what.ends_with(c.whatEnd)) << fault.what;
        EXPECT_EQ(fault.what.find('\r'), std::string::npos) << fault.what;
        EXPECT_EQ(logOf(log, c.calls.size()), c.calls);
    }
}

TEST_F(WordStandIn, WithoutAServerRegisteredTheExportCannotCreateTheObject) {
    ASSERT_EQ(standIn(L"/unregserver"), 0);
    const Fault fault = exportFault("计算书\r\n");
    EXPECT_EQ(fault.number, 429);
    EXPECT_EQ(fault.description, "部件不能创建对象");
    EXPECT_TRUE(fault.what.starts_with("无法启动文字处理软件：没有注册 word.application（")) << fault.what;
    ASSERT_EQ(registerStandIn(), 0);
}

TEST_F(WordStandIn, AServerThatHangsEndsTheExportAtTheDeadline) {
    // The server answers after 4 s; the export gives up after 1.5 s, and makes no further call
    // once the hung one returns.
    struct Case {
        std::string mode;
        int number;
        std::string what;
    };
    const Case cases[] = {
        {"hang create 4000", 429, "无法连接文字处理软件：文字处理软件在1.5秒内没有响应"},
        {"hang Documents 4000", 440, "文字处理软件在1.5秒内没有响应"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const fs::path log = useMode(c.mode);
        const auto start = std::chrono::steady_clock::now();
        const Fault fault = exportFault("计算书\r\n", 1500ms);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(fault.number, c.number);
        EXPECT_EQ(fault.what, c.what);
        EXPECT_GE(took, 1500ms);
        EXPECT_LT(took, 2500ms);
    }
    // The second server, once its hung call returned, was asked nothing more and released.
    const std::vector<std::string> afterHang = {"create Application",
                                                "Application.Visible put VT_BOOL true",
                                                "Application.Documents method|get",
                                                "Documents hangs",
                                                "release Documents",
                                                "release Application"};
    EXPECT_EQ(logOf(control_ / ("case" + std::to_string(cases_) + ".log"), afterHang.size()), afterHang);
}

}  // namespace
}  // namespace wallcalc
