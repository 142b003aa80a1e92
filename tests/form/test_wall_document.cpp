#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/fault.h"
#include "form/texts.h"
#include "form/wall_document.h"

namespace {

using namespace wallcalc;
using namespace wallcalc::form;
using Change = WallDocument::Change;

class Document : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("wallcalc-doc-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir);
        doc.observe([this](Change change) { heard.push_back(change); });
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string file(const char* name) const { return (dir / name).string(); }

    std::filesystem::path dir;
    WallDocument doc;
    std::vector<Change> heard;
};

const std::string kProgram = std::string(kProgramTitle) + "  " + kCredit;

// An input marks the wall modified, a result does not; the title says so.
TEST_F(Document, InputsMarkTheWallModifiedAndResultsDoNot) {
    EXPECT_EQ(doc.title(), kProgram);
    doc.setText(Field::Text5, "107.2080");
    EXPECT_FALSE(doc.isModified());
    doc.setText(Field::Text4, "350");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.title(), "未命名* - " + kProgram);
    doc.setText(Field::Text4, "350");  // the same text: nothing to hear
    EXPECT_EQ(heard, (std::vector<Change>{Change::Fields, Change::Fields}));
    doc.setText(Field::Text4, std::string(defaultText(Field::Text4)));
    EXPECT_FALSE(doc.isModified());
}

// A refused option is held with the review's reason: modified, not savable, nothing written;
// its default's text unsets it, so the file keeps only what differs.
TEST_F(Document, RefusedOptionStopsTheSaveUntilMended) {
    doc.setOption("gamma0", "abc");
    EXPECT_EQ(doc.optionText("gamma0"), "abc");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.whyUnsavable().value(),
              "墙体没有保存：复核选项 gamma0（结构重要性系数γ0）的值“abc”不是数值。请在复核窗口中改正后再保存。");
    EXPECT_THROW(doc.save(file("w.wall")), UnsavableWall);
    EXPECT_FALSE(std::filesystem::exists(file("w.wall")));
    EXPECT_THROW(doc.reviewOptions(), FaultError);

    doc.setOption("gamma0", "1");
    doc.setOption("support", "fixed");
    EXPECT_FALSE(doc.whyUnsavable());
    EXPECT_EQ(doc.options().entries(), (std::vector<std::pair<std::string, std::string>>{{"support", "fixed"}}));
    EXPECT_EQ(doc.reviewOptions().support, review::Support::Fixed);
    EXPECT_EQ(heard, (std::vector<Change>{Change::Options, Change::Options, Change::Options}));
}

// Saved and opened again: the same inputs and options, every other field at its default, the
// title naming the file; a file that cannot be read changes nothing.
TEST_F(Document, SavedWallOpensAgainAndABadFileChangesNothing) {
    doc.setText(Field::Text4, "350");
    doc.setText(Field::Text5, "107.2080");
    doc.setOption("cover_out", "40");
    doc.save(file("B1.wall"));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.title(), "B1.wall - " + kProgram);
    EXPECT_EQ(reportSuggestion(doc), file("B1.pdf"));

    WallDocument other;
    other.open(file("B1.wall"));
    EXPECT_EQ(other.text(Field::Text4), "350");
    EXPECT_EQ(other.text(Field::Text5), defaultText(Field::Text5));
    EXPECT_EQ(other.optionText("cover_out"), "40");
    EXPECT_FALSE(other.isModified());

    std::ofstream(file("bad.wall"))
        << "{\"format\": \"wallcalc-wall\", \"version\": 1, \"fields\": {\"Text99\": \"1\"}}";
    heard.clear();
    EXPECT_THROW(doc.open(file("bad.wall")), wallfile::WallFileError);
    EXPECT_EQ(doc.path(), file("B1.wall"));
    EXPECT_EQ(doc.text(Field::Text5), "107.2080");
    EXPECT_TRUE(heard.empty());

    doc.newWall();
    EXPECT_EQ(doc.fields(), FieldSet{});
    EXPECT_EQ(doc.title(), kProgram);
    EXPECT_EQ(reportSuggestion(doc), "计算书.pdf");
    EXPECT_EQ(askToSaveText(doc), "“未命名的墙体”已修改。是否保存修改？");
}

}  // namespace
