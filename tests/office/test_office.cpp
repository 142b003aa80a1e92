// The export against a real LibreOffice: a headless one of the test's own, on a private pipe.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/action.h"
#include "core/fields.h"
#include "office/office.h"
#include "office/plain_symbols.h"
#include "report/compose.h"
#include "report/review_compose.h"
#include "review/review.h"
#include "tests/support/office/headless_office.h"
#include "tests/support/sample_report.h"

namespace wallcalc {
namespace {

using Document = testing::HeadlessOffice::Document;

// The lines as the document holds them: the symbols in their standard forms.
std::vector<std::string> standardLines(std::vector<std::string> lines) {
    for (std::string& line : lines) line = standardSymbols(line);
    return lines;
}

class OfficeExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!testing::officeAvailable()) return;
        office_ = std::make_unique<testing::HeadlessOffice>();
        ::setenv("WALLCALC_OFFICE", office_->connection().c_str(), 1);
        // The test office has no display; the round trips below accept that on purpose.
        ::setenv("WALLCALC_OFFICE_ALLOW_HIDDEN", "1", 1);
    }
    static void TearDownTestSuite() {
        ::unsetenv("WALLCALC_OFFICE_ALLOW_HIDDEN");
        ::unsetenv("WALLCALC_OFFICE");
        office_.reset();  // terminates and reaps the office
    }
    void SetUp() override {
        if (!office_) GTEST_SKIP() << "LibreOffice is not installed";
    }

    // Exports Text29 of `fields` as 计算书保存 does, and returns the documents it added.
    static std::vector<Document> pressExport(FieldSet& fields, int times = 1) {
        const std::vector<Document> before = office_->documents();
        const FieldSet unchanged = fields;
        for (int i = 0; i < times; ++i) {
            const auto fault =
                runAtomically(fields, [](FieldSet& f) { makePlatformOffice()->exportReport(f.text(Field::Text29)); });
            EXPECT_EQ(fault, std::nullopt) << fault->what;
        }
        EXPECT_EQ(fields, unchanged);
        std::vector<Document> added = office_->documents();
        for (const Document& old : before) {
            auto same = std::find_if(added.begin(), added.end(), [&](const Document& d) {
                return d.paragraphs == old.paragraphs && d.hasLocation == old.hasLocation;
            });
            if (same != added.end()) added.erase(same);
        }
        return added;
    }

    static std::unique_ptr<testing::HeadlessOffice> office_;
};

std::unique_ptr<testing::HeadlessOffice> OfficeExport::office_;

TEST_F(OfficeExport, ReportBecomesANewUnsavedDocumentLineForLine) {
    FieldSet fields;
    fields.setText(Field::Text29, testing::sampleReport());
    const std::vector<Document> added = pressExport(fields);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_FALSE(added[0].hasLocation);
    EXPECT_TRUE(added[0].modified);
    EXPECT_EQ(added[0].paragraphs.size(), 55u);
    EXPECT_EQ(added[0].paragraphs, standardLines(testing::sampleReportLines()));
    // No private-use character is left: the document reads right without the program's font.
    EXPECT_EQ(added[0].symbolRuns, 0);
}

TEST_F(OfficeExport, TheDefaultsReportArrivesAsComposed) {
    FieldSet fields;
    strengthCalculation(fields);
    crackWidthCheck(fields);
    composeReport(fields);
    const std::string& report = fields.text(Field::Text29);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = report.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(report.substr(at, end - at));
    ASSERT_EQ(lines.size(), 55u);
    const std::vector<Document> added = pressExport(fields);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].paragraphs, standardLines(lines));
    EXPECT_FALSE(added[0].hasLocation);
}

TEST_F(OfficeExport, TwoPressesLeaveTwoDocumentsWithTheSameText) {
    FieldSet fields;
    fields.setText(Field::Text29, testing::sampleReport());
    const std::vector<Document> added = pressExport(fields, 2);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0].paragraphs, standardLines(testing::sampleReportLines()));
    EXPECT_EQ(added[1].paragraphs, standardLines(testing::sampleReportLines()));
}

TEST_F(OfficeExport, WhateverText29HoldsIsWhatTheDocumentHolds) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> paragraphs;
    };
    const Case cases[] = {
        {"before any report", std::string(defaultText(Field::Text29)), {"计算书"}},
        {"empty", "", {""}},
        {"edited", "改过的计算书\r\n第二行\uE010\r\n\r\n", {"改过的计算书", "第二行²", ""}},
    };
    for (const Case& c : cases) {
        FieldSet fields;
        fields.setText(Field::Text29, c.text);
        const std::vector<Document> added = pressExport(fields);
        ASSERT_EQ(added.size(), 1u) << c.name;
        EXPECT_EQ(added[0].paragraphs, c.paragraphs) << c.name;
        EXPECT_FALSE(added[0].hasLocation) << c.name;
    }
}

// An office that nobody can see is no place for the report: the headless test office, whatever
// the display of the caller, refuses the export before any document is made.
TEST_F(OfficeExport, AnOfficeWithoutADisplayIsNoSuccess) {
    ::unsetenv("WALLCALC_OFFICE_ALLOW_HIDDEN");
    const char* own = std::getenv("DISPLAY");
    const std::string ownDisplay = own ? own : "";
    const std::size_t before = office_->documents().size();
    for (const char* display : {":0", ""}) {
        if (*display)
            ::setenv("DISPLAY", display, 1);
        else
            ::unsetenv("DISPLAY");
        FieldSet fields;
        const auto fault =
            runAtomically(fields, [](FieldSet& f) { makePlatformOffice()->exportReport(f.text(Field::Text29)); });
        ASSERT_TRUE(fault) << display;
        EXPECT_EQ(fault->number, 429) << display;
        EXPECT_NE(fault->what.find("无界面"), std::string::npos) << fault->what;
    }
    ::setenv("WALLCALC_OFFICE_ALLOW_HIDDEN", "1", 1);
    if (own) ::setenv("DISPLAY", ownDisplay.c_str(), 1);
    EXPECT_EQ(office_->documents().size(), before);
}

// The review report goes the same way, every line one paragraph, its Greek letters, primes and
// superscripts as standard characters that need no font of the program's.
TEST_F(OfficeExport, TheReviewReportArrivesLineForLine) {
    FieldSet fields;
    review::Options options;
    review::setOption(options, "support", "fixed");
    const review::Result result = review::reviewWall(fields, options);
    const std::vector<std::string> lines = reviewReportLines(result, "2024-05-01");
    fields.setText(Field::Text29, reviewReportText(result, "2024-05-01"));
    const std::vector<Document> added = pressExport(fields);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].paragraphs, lines);
    EXPECT_FALSE(added[0].hasLocation);
    EXPECT_EQ(added[0].symbolRuns, 0);
}

}  // namespace
}  // namespace wallcalc
