// The Word export through a real COM runtime, against the stand-in Word of word_stand_in.cpp,
// registered as "Word.Application" for the length of these tests.

// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
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
#include "report/document.h"
#include "report/review_book.h"
#include "review/options.h"
#include "review/review.h"
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

// The review book of a wall, and what the stand-in must have seen of it: the stand-in's dump
// (the document's paragraphs, "# header", "# footer" and its marks) is checked against the book
// as composed, block by block.
struct ReviewBookCase {
    const char* name;
    std::vector<std::pair<Field, std::string>> fields;
    std::vector<std::pair<const char*, const char*>> options;
    const char* subject;
};
const ReviewBookCase kWalls[] = {
    {"one storey", {}, {}, "B1-north"},
    // Three storeys of 4 m under the ground (H 12 m).
    {"three storeys", {{Field::Text3, "12"}, {Field::Text9, "4000"}}, {{"upper_storeys", "4000/4000"}}, "B3"},
};

// A book is some thousand calls, each a few milliseconds through the stand-in under Wine: the
// program's own deadline.
constexpr auto kBookDeadline = 60s;

report::book::Document documentOf(const ReviewBookCase& wall) {
    FieldSet fields;
    for (const auto& [field, text] : wall.fields) fields.setText(field, text);
    review::Options options;
    for (const auto& [key, value] : wall.options) review::setOption(options, key, value);
    return reviewBook(review::reviewWall(fields, options), "2024-05-01", wall.subject);
}

Book bookOf(const report::book::Document& document) {
    return {report::book::bookJson(document), report::book::plainText(document)};
}

std::vector<std::string> marksStarting(const std::vector<std::string>& dump, const std::string& start) {
    std::vector<std::string> out;
    for (const std::string& line : dump)
        if (line.starts_with("# " + start)) out.push_back(line.substr(2));
    return out;
}

// The figure files of this process still in the temporary folder.
std::vector<fs::path> figureFiles() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string prefix = "wallcalc-figure-" + std::to_string(GetCurrentProcessId()) + "-";
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(temp))
        if (entry.path().filename().string().starts_with(prefix)) out.push_back(entry.path());
    return out;
}

// What the stand-in's dump must hold of `document`.
void expectBook(const std::vector<std::string>& dump, const report::book::Document& document) {
    using namespace report::book;
    std::vector<std::string> headings, tables, headerRows, lowered, raised;
    std::vector<std::size_t> svgSizes;
    int table = 0;
    // The text as Word has it: the runs one after another, the raised ones as plain digits.
    auto joined = [](const std::string& text) {
        std::string out;
        for (const Run& run : runsOf(text)) out += standardSymbols(run.text);
        return out;
    };
    auto runs = [&](const std::string& text, const std::string& where) {
        for (const Run& run : runsOf(text)) {
            if (run.script == Script::Sub) lowered.push_back("Subscript true @" + where + standardSymbols(run.text));
            if (run.script == Script::Super) raised.push_back("Superscript true @" + where + standardSymbols(run.text));
        }
    };
    for (const Block& block : document.blocks) {
        if (const auto* h = std::get_if<Heading>(&block)) {
            // wdStyleHeading1..3
            headings.push_back("style " + std::to_string(-1 - h->level) + " @" + joined(h->number + h->text));
            runs(h->number + h->text, "");
        } else if (const auto* p = std::get_if<Paragraph>(&block)) {
            runs(p->text, "");
        } else if (const auto* t = std::get_if<Table>(&block)) {
            ++table;
            tables.push_back("table " + std::to_string(table) + " " + std::to_string(t->rows.size() + 1) + " " +
                             std::to_string(t->header.size()));
            headerRows.push_back("HeadingFormat true @row " + std::to_string(table) + " 1");
            std::vector<std::vector<std::string>> rows{t->header};
            rows.insert(rows.end(), t->rows.begin(), t->rows.end());
            for (std::size_t r = 0; r < rows.size(); ++r)
                for (std::size_t c = 0; c < rows[r].size(); ++c)
                    runs(rows[r][c], "cell " + std::to_string(table) + " " + std::to_string(r + 1) + " " +
                                         std::to_string(c + 1) + ":");
        } else if (const auto* f = std::get_if<Figure>(&block)) {
            svgSizes.push_back(svgOf(*f).size());
        }
    }
    ASSERT_GE(dump.size(), 2u);
    EXPECT_EQ(dump[0], document.title);
    EXPECT_EQ(marksStarting(dump, "style -63 @"), std::vector<std::string>{"style -63 @" + document.title});
    std::vector<std::string> inOrder;  // the headings in the order the dump has them
    for (const std::string& line : dump)
        if (line.starts_with("# style -2 @") || line.starts_with("# style -3 @") || line.starts_with("# style -4 @"))
            inOrder.push_back(line.substr(2));
    EXPECT_EQ(inOrder, headings);
    EXPECT_EQ(marksStarting(dump, "table "), tables);
    EXPECT_EQ(marksStarting(dump, "HeadingFormat "), headerRows);
    EXPECT_EQ(std::count(dump.begin(), dump.end(), "[picture]"), 2);
    const std::vector<std::string> pictures = marksStarting(dump, "picture ");
    ASSERT_EQ(pictures.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(pictures[i], "picture svg " + std::to_string(svgSizes[i]) + " link false save true .svg");
    // 150 × 100 mm in points.
    EXPECT_EQ(marksStarting(dump, "Width "), (std::vector<std::string>{"Width 425.20", "Width 425.20"}));
    EXPECT_EQ(marksStarting(dump, "Height "), (std::vector<std::string>{"Height 283.46", "Height 283.46"}));
    EXPECT_EQ(marksStarting(dump, "Subscript "), lowered);
    EXPECT_EQ(marksStarting(dump, "Superscript "), raised);
    EXPECT_EQ(marksStarting(dump, "header "), std::vector<std::string>{"header " + document.program + "　" +
                                                                       document.subject + "　" + document.edition});
    EXPECT_EQ(marksStarting(dump, "footer "),
              std::vector<std::string>{"footer 第 {PAGE} 页 / 共 {NUMPAGES} 页　　2024-05-01"});
    EXPECT_EQ(marksStarting(dump, "field "), (std::vector<std::string>{"field footer 26", "field footer 33"}));
    // The fonts by style index: SimHei for the headings, SimSun for the text, Times New Roman for
    // the Latin letters of all.
    for (const char* font :
         {"style -1 NameFarEast SimSun", "style -2 NameFarEast SimHei", "style -4 NameFarEast SimHei",
          "style -63 NameFarEast SimHei", "style -1 Name Times New Roman", "style -1 LanguageIDFarEast 2052"})
        EXPECT_EQ(std::count(dump.begin(), dump.end(), std::string("# ") + font), 1) << font;
}

TEST_F(WordStandIn, ExportsAndSavesTheReviewBookBlockByBlock) {
    for (const ReviewBookCase& wall : kWalls) {
        SCOPED_TRACE(wall.name);
        const report::book::Document document = documentOf(wall);
        const Book book = bookOf(document);
        ASSERT_NE(document.subject, "");
        {
            SCOPED_TRACE("export");
            const fs::path log = useMode("ok");
            WordOffice(kBookDeadline).exportBook(book);
            const std::vector<std::string> calls = logOf(log, 1);
            EXPECT_EQ(calls.front(), "create Application");
            EXPECT_EQ(calls.at(1), "Application.Visible put VT_BOOL true");
            // The document stays: its dump is written once it is released, Word left running.
            EXPECT_EQ(logOf(log, calls.size()).back(), "release Application");
            expectBook(lines(fs::path(log) += ".doc"), document);
        }
        {
            SCOPED_TRACE("save");
            const fs::path log = useMode("ok");
            const fs::path target = control_ / fs::u8path(std::string(wall.subject) + ".docx");
            {
                WordOffice saver(kBookDeadline);
                saver.saveBook(book, target, DocumentFormat::Docx);
            }
            const std::vector<std::string> file = lines(target);
            ASSERT_GE(file.size(), 3u);
            EXPECT_EQ(file[0], "format 12");
            expectBook(std::vector<std::string>(file.begin() + 2, file.end()), document);
            const std::vector<std::string> calls = lines(log);
            EXPECT_EQ(std::count(calls.begin(), calls.end(), "Application.Visible put VT_BOOL false"), 1);
        }
        EXPECT_TRUE(figureFiles().empty());
    }
}

TEST_F(WordStandIn, ABookWithoutItsJsonGoesAsTheFlatTextAndAnUnreadableOneReachesNoWord) {
    const fs::path flat = useMode("ok");
    WordOffice(20s).exportBook(Book{"", "计算书\r\n"});
    std::vector<std::string> calls = callsUpToText(3);
    calls.insert(calls.end(), kReleasesAfterText.begin(), kReleasesAfterText.end());
    EXPECT_EQ(logOf(flat, calls.size()), calls);

    for (const char* json : {"{", "[1]"}) {
        SCOPED_TRACE(json);
        const fs::path log = useMode("ok");
        try {
            WordOffice(20s).exportBook(Book{json, "计算书\r\n"});
            ADD_FAILURE() << "exported";
        } catch (const FaultError& error) {
            EXPECT_EQ(error.fault().number, 440);
            EXPECT_EQ(error.fault().what, "计算书的内容无法读取");
        }
        EXPECT_FALSE(fs::exists(log));
    }
}

TEST_F(WordStandIn, AWordThatFailsMidBookEndsWithItsFaultAndLeavesNoFigureFile) {
    struct Case {
        std::string mode;
        std::string what;
        std::chrono::milliseconds deadline;
    };
    const Case cases[] = {
        {"fail AddPicture", "文字处理软件拒绝了 AddPicture：模拟的拒绝：AddPicture", kBookDeadline},
        {"fail Add", "文字处理软件拒绝了 Add：模拟的拒绝：Add", kBookDeadline},  // Documents.Add, before any table
        {"unknown HeadingFormat", "文字处理软件不支持 HeadingFormat：", kBookDeadline},
        {"error Superscript", "文字处理软件拒绝了 Superscript：", kBookDeadline},
        {"hang Fields 4000", "文字处理软件在2秒内没有响应", 2000ms},
    };
    const Book book = bookOf(documentOf(kWalls[0]));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        useMode(c.mode);
        Fault fault{0, "", ""};
        try {
            WordOffice(c.deadline).exportBook(book);
        } catch (const FaultError& error) {
            fault = error.fault();
        }
        EXPECT_EQ(fault.number, 440);
        EXPECT_TRUE(fault.what.starts_with(c.what)) << fault.what;
    }
    // The hung call returns after 4 s; the figure files went with their calls.
    std::this_thread::sleep_for(2500ms);
    EXPECT_TRUE(figureFiles().empty());
}

}  // namespace
}  // namespace wallcalc
