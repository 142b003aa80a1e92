// The review report's book built in a real, headless LibreOffice and read back from the saved
// files: headings in their styles, the tables, the two diagrams as pictures, the page header and
// the page-numbered footer; the PDF with every font embedded; and the batch's review documents.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/batch.h"
#include "core/fields.h"
#include "office/office.h"
#include "report/review_book.h"
#include "review/review.h"
#include "tests/support/cli_run.h"
#include "tests/support/office/headless_office.h"

namespace wallcalc {
namespace {

namespace fs = std::filesystem;

long countOf(const std::vector<std::string>& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
}
long countStarting(const std::vector<std::string>& lines, const std::string& start) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); });
}
std::string lineStarting(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& l : lines)
        if (l.starts_with(start)) return l;
    return {};
}

class Books : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!testing::officeAvailable() || std::system("command -v pdffonts >/dev/null") != 0) return;
        dir_ = fs::temp_directory_path() / ("wallcalc-book-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        office_ = std::make_unique<testing::HeadlessOffice>();
        ::setenv("WALLCALC_OFFICE", office_->connection().c_str(), 1);
    }
    static void TearDownTestSuite() {
        ::unsetenv("WALLCALC_OFFICE");
        office_.reset();
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    void SetUp() override {
        if (!office_) GTEST_SKIP() << "LibreOffice or poppler-utils are not installed";
    }

    static Book bookOf(const review::Result& result, const std::string& subject) {
        const report::book::Document document = reviewBook(result, "2024-05-01", subject);
        return {report::book::bookJson(document), report::book::plainText(document)};
    }

    // What a review book of the window's defaults (two sections) holds, read back.
    static void expectDefaultsBook(const std::vector<std::string>& lines, const std::string& subject) {
        EXPECT_EQ(countOf(lines, "style Title"), 1);
        EXPECT_GE(countOf(lines, "style Heading 1"), 6);
        EXPECT_EQ(countOf(lines, "style Heading 2"), 2);  // （1）跨中, （2）底部支座
        // Inputs, loads (top slab and base), two sections, the shear at the two supports,
        // signatures.
        EXPECT_EQ(countStarting(lines, "table "), 6);
        EXPECT_TRUE(lineStarting(lines, "table ").ends_with(" 4 项目")) << lineStarting(lines, "table ");
        EXPECT_EQ(countOf(lines, "table 3 7 支座"), 1);
        EXPECT_EQ(countOf(lines, "table 3 4 控制点"), 1);
        EXPECT_EQ(countOf(lines, "table 14 4 项目"), 2);
        EXPECT_EQ(countOf(lines, "table 2 3 设计"), 1);
        EXPECT_EQ(countStarting(lines, "graphic "), 2);
        EXPECT_NE(lineStarting(lines, "header ").find(subject), std::string::npos);
        const std::string footer = lineStarting(lines, "footer ");
        EXPECT_TRUE(footer.starts_with("footer 第 ") && footer.find(" 页 / 共 ") != std::string::npos) << footer;
        EXPECT_EQ(countOf(lines, "field PageNumber"), 1);
        EXPECT_EQ(countOf(lines, "field PageCount"), 1);
    }

    static fs::path dir_;
    static std::unique_ptr<testing::HeadlessOffice> office_;
};

fs::path Books::dir_;
std::unique_ptr<testing::HeadlessOffice> Books::office_;

review::Result defaultsReview() { return review::reviewWall(FieldSet{}, review::Options{}); }

TEST_F(Books, SavedAsWordAndOpenDocumentReadBackAsBooks) {
    const std::unique_ptr<DocumentSaver> saver = makePlatformOffice();
    struct Case {
        DocumentFormat format;
        const char* name;
        const char* pictures;  // as the format keeps the SVG: itself, or Word's picture of it
    };
    for (const Case& c : {Case{DocumentFormat::Odt, "B1-north.odt", "graphic image/svg+xml 15000 "},
                          Case{DocumentFormat::Docx, "B1-north.docx", "graphic image/"}}) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir_ / c.name;
        saver->saveBook(bookOf(defaultsReview(), "B1-north"), path, c.format);
        const std::vector<std::string> lines = office_->readBack(path.string());
        expectDefaultsBook(lines, "B1-north");
        EXPECT_TRUE(lineStarting(lines, "graphic ").starts_with(c.pictures)) << lineStarting(lines, "graphic ");
        if (c.format == DocumentFormat::Docx) {
            // Word takes a font by its one name: SimSun, SimHei, Times New Roman, never a list.
            const std::string styles = testing::runCli("unzip", {"-p", path.string(), "word/styles.xml"}).out;
            for (const char* named : {"w:eastAsia=\"SimSun\"", "w:eastAsia=\"SimHei\"", "w:ascii=\"Times New Roman\""})
                EXPECT_NE(styles.find(named), std::string::npos) << named;
            for (const char* list : {"SimSun;", "SimHei;", "Roman;"})
                EXPECT_EQ(styles.find(list), std::string::npos) << list;
        }
    }
}

TEST_F(Books, PdfEmbedsEveryFont) {
    const std::unique_ptr<DocumentSaver> saver = makePlatformOffice();
    const fs::path pdf = dir_ / "B1.pdf";
    saver->saveBook(bookOf(defaultsReview(), "B1"), pdf, DocumentFormat::Pdf);
    const std::string fonts = testing::runCli("pdffonts", {pdf.string()}).out;
    // Two heading lines, then one line a font: its "emb" column says yes for every one.
    std::istringstream lines(fonts);
    std::string line;
    int listed = 0, embedded = 0;
    for (int n = 0; std::getline(lines, line); ++n) {
        if (n < 2 || line.empty()) continue;
        ++listed;
        embedded += line.find(" yes yes ") != std::string::npos || line.find(" yes no ") != std::string::npos;
    }
    EXPECT_GT(listed, 1) << fonts;
    EXPECT_EQ(embedded, listed) << fonts;
}

TEST_F(Books, BatchGivesEachWallItsReviewBook) {
    std::ofstream(dir_ / "walls.csv") << "name,Text1,Text4,Text17,Text25,support\n"
                                         "B1-north,10,300,16,100,\n"
                                         "B1-east,20,350,18,100,fixed\n";
    const fs::path out = dir_ / "batch";
    ASSERT_EQ(cli::runBatch({(dir_ / "walls.csv").string(), "--out", out.string(), "--documents", "docx"}), 0);
    expectDefaultsBook(office_->readBack((out / "B1-north.review.docx").string()), "B1-north");
    // A fixed top slab adds its section: three headings and three section tables.
    const std::vector<std::string> east = office_->readBack((out / "B1-east.review.docx").string());
    EXPECT_EQ(countOf(east, "style Heading 2"), 3);
    EXPECT_EQ(countOf(east, "table 14 4 项目"), 3);
    EXPECT_EQ(countStarting(east, "graphic "), 2);
    EXPECT_EQ(countOf(east, "field PageCount"), 1);
    EXPECT_NE(lineStarting(east, "header ").find("B1-east"), std::string::npos);
}

}  // namespace
}  // namespace wallcalc
