// The report saved as PDF and Word through a real, headless LibreOffice of the test's own, on a
// machine whose fonts lack the program's symbol font: read back as text and as a rendered page.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "calc/crack.h"
#include "calc/strength.h"
#include "cli/batch.h"
#include "core/fault.h"
#include "office/office.h"
#include "report/compose.h"
#include "tests/support/office/headless_office.h"

namespace wallcalc {
namespace {

namespace fs = std::filesystem;

std::string output(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

class SavedDocuments : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!testing::officeAvailable() || std::system("command -v pdftotext pdftoppm >/dev/null") != 0) return;
        dir_ = fs::temp_directory_path() / ("wallcalc-save-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        // The system's fonts without the program's own (installed under /usr/local/share/fonts).
        std::ofstream(dir_ / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                                              "  <dir>/usr/share/fonts</dir>\n"
                                              "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n"
                                              "  <cachedir>"
                                           << (dir_ / "fc-cache").string() << "</cachedir>\n</fontconfig>\n";
        ::setenv("FONTCONFIG_FILE", (dir_ / "fonts.conf").c_str(), 1);
        office_ = std::make_unique<testing::HeadlessOffice>();
        ::setenv("WALLCALC_OFFICE", office_->connection().c_str(), 1);
    }
    static void TearDownTestSuite() {
        ::unsetenv("WALLCALC_OFFICE");
        office_.reset();
        ::unsetenv("FONTCONFIG_FILE");
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    void SetUp() override {
        if (!office_) GTEST_SKIP() << "LibreOffice or poppler-utils are not installed";
    }

    static fs::path dir_;
    static std::unique_ptr<testing::HeadlessOffice> office_;
};

fs::path SavedDocuments::dir_;
std::unique_ptr<testing::HeadlessOffice> SavedDocuments::office_;

TEST_F(SavedDocuments, PdfAndWordReadBackWithStandardSymbolsAndRender) {
    FieldSet fields;
    strengthCalculation(fields);
    crackWidthCheck(fields);
    composeReport(fields);
    const std::unique_ptr<DocumentSaver> saver = makePlatformOffice();
    const fs::path pdf = dir_ / "墙 1.pdf", docx = dir_ / "墙 1.docx";
    saver->saveReport(fields.text(Field::Text29), pdf, DocumentFormat::Pdf);
    saver->saveReport(fields.text(Field::Text29), docx, DocumentFormat::Docx);
    // Nothing but the two documents beside them (no temporary file left).
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) files += entry.is_regular_file();
    EXPECT_EQ(files, 3);  // fonts.conf, the PDF and the Word file

    // The fonts are named as a reviewer's Windows has them, the Asian text as Simplified Chinese,
    // and the PDF carries every font it uses.
    const std::string styles = output("unzip -p '" + docx.string() + "' word/styles.xml");
    EXPECT_NE(styles.find("w:eastAsia=\"SimSun\""), std::string::npos);
    EXPECT_NE(styles.find("w:ascii=\"Times New Roman\""), std::string::npos);
    EXPECT_NE(styles.find("w:eastAsia=\"zh-CN\""), std::string::npos);
    const std::string fonts = output("pdffonts '" + pdf.string() + "' | tail -n +3");
    EXPECT_FALSE(fonts.empty());
    EXPECT_EQ(fonts.find(" no "), std::string::npos) << fonts;

    // The Word file through the office once more, as PDF, so that both are read the same way.
    const fs::path converted = dir_ / "converted";
    output("cd '" + dir_.string() + "' && HOME='" + dir_.string() +
           "' " WALLCALC_SOFFICE " --headless --norestore -env:UserInstallation=file://" + (dir_ / "profile").string() +
           " --convert-to pdf --outdir converted '墙 1.docx' >/dev/null 2>&1");

    for (const fs::path& file : {pdf, converted / "墙 1.pdf"}) {
        SCOPED_TRACE(file.string());
        ASSERT_TRUE(fs::exists(file));
        const std::string text = output("pdftotext -enc UTF-8 '" + file.string() + "' -");
        // Lines of the defaults' report: kN/m³, L², x₁ with the raised 0.5, Φ16@100, mm².
        for (const char* expected :
             {"kN/m³", "0.8*Q*L²/15", "x₁＝ho-(ho²-2*γo*M/α₁/fc/b)⁰·⁵", "Φ16@100", "As₁＝α₁*fc*b*x₁/fy=1527.315mm²"})
            EXPECT_NE(text.find(expected), std::string::npos) << expected;
        EXPECT_EQ(text.find("\uE010"), std::string::npos);

        // Page 1 drawn: a grey image of ink on white, with a fair amount of ink.
        const fs::path page = file.parent_path() / (file.stem().string() + "-page");
        output("pdftoppm -r 50 -f 1 -l 1 -singlefile -gray '" + file.string() + "' '" + page.string() + "'");
        std::ifstream in(page.string() + ".pgm", std::ios::binary);
        std::string magic;
        int width = 0, height = 0, maxval = 0;
        in >> magic >> width >> height >> maxval;
        in.get();
        ASSERT_EQ(magic, "P5");
        std::string pixels((std::istreambuf_iterator<char>(in)), {});
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width * height));
        const auto ink =
            std::count_if(pixels.begin(), pixels.end(), [](char p) { return static_cast<unsigned char>(p) < 128; });
        EXPECT_GT(ink, width * height / 200);
    }
}

TEST_F(SavedDocuments, BatchSavesEachWallsReportAndReviewReport) {
    // A: the defaults; B: fy 310 N/mm², which the four buttons take and the review refuses, so B
    // has its 计算书 and no review report.
    const fs::path out = dir_ / "batch";
    std::ofstream(dir_ / "walls.csv") << "name,Text13\nA,300\nB,310\n";
    EXPECT_EQ(cli::runBatch({(dir_ / "walls.csv").string(), "--out", out.string(), "--documents", "pdf"}), 3);
    for (const char* file : {"A.report.pdf", "A.review.pdf", "B.report.pdf"})
        EXPECT_TRUE(fs::exists(out / file)) << file;
    EXPECT_FALSE(fs::exists(out / "B.review.pdf"));
    const std::string review = output("pdftotext -enc UTF-8 '" + (out / "A.review.pdf").string() + "' -");
    EXPECT_NE(review.find("地下室外墙复核计算书"), std::string::npos) << review.substr(0, 400);
    EXPECT_NE(output("pdftotext -enc UTF-8 '" + (out / "B.report.pdf").string() + "' -").find("Φ16@100"),
              std::string::npos);
}

TEST_F(SavedDocuments, AnUnwritablePlaceIsAFaultAndLeavesNothing) {
    const std::unique_ptr<DocumentSaver> saver = makePlatformOffice();
    try {
        // A folder holding something stands where the file should go.
        fs::create_directories(dir_ / "taken.odt" / "inside");
        saver->saveReport("计算书\r\n", dir_ / "taken.odt", DocumentFormat::Odt);
        ADD_FAILURE() << "saved";
    } catch (const FaultError& error) {
        EXPECT_EQ(error.fault().number, 440) << error.fault().what;
    }
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << "left: " << entry.path();
    // The same saver goes on after the fault.
    saver->saveReport("计算书\r\n", dir_ / "r.odt", DocumentFormat::Odt);
    EXPECT_TRUE(fs::exists(dir_ / "r.odt"));
}

}  // namespace
}  // namespace wallcalc
