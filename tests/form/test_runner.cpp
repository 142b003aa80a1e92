#include <gtest/gtest.h>

#include <stdexcept>

#include "core/fault.h"
#include "form/review_model.h"
#include "form/runner.h"
#include "report/document.h"

namespace {

using namespace wallcalc;
using namespace wallcalc::form;
using Ending = Runner::Ending;

// A press that completes writes its fields back; one that fails, however, changes nothing and
// says what the window shows: the box's text and the field to mend (none for a hidden field).
TEST(Runner, CompletedPressWritesBackAFaultChangesNothing) {
    WallDocument doc;
    Runner runner(doc);
    EXPECT_TRUE(runner.run([](FieldSet& f) { f.setText(Field::Text5, "1"); }).completed());
    EXPECT_EQ(doc.text(Field::Text5), "1");

    const struct {
        Action action;
        std::string text;
        std::optional<Field> focus;
    } faults[] = {
        {[](FieldSet&) { throw FaultError(13, "墙厚", Field::Text4); }, "运行时错误 13：类型不匹配\n墙厚",
         Field::Text4},
        {[](FieldSet&) { throw FaultError(13, "", Field::Text28); }, "运行时错误 13：类型不匹配", std::nullopt},
        {[](FieldSet&) { throw std::runtime_error("defect"); }, "运行时错误 51：内部错误\ndefect", std::nullopt},
    };
    for (const auto& c : faults) {
        const Runner::Outcome outcome = runner.run([&](FieldSet& f) {
            f.setText(Field::Text5, "2");
            c.action(f);
        });
        ASSERT_EQ(outcome.ending, Ending::Faulted) << c.text;
        EXPECT_EQ(doc.text(Field::Text5), "1");
        const FaultNotice notice = faultNotice(*outcome.fault);
        EXPECT_EQ(notice.text, c.text);
        EXPECT_EQ(notice.focus, c.focus);
    }
}

// On a worker: a press meanwhile is ignored; a cancelled press ends quietly with nothing
// changed; a wait that never started the worker still runs the work once.
TEST(Runner, WorkerPressIgnoresPressesMeanwhileAndEndsQuietlyWhenCancelled) {
    WallDocument doc;
    Runner runner(doc);
    int cancels = 0;
    const Runner::Outcome cancelled = runner.runOnWorker(
        [](FieldSet& f) {
            f.setText(Field::Text5, "late");
            throw FaultError(18, "已取消");
        },
        [&] { ++cancels; },
        [&](Worker& worker) {
            EXPECT_EQ(runner.run([](FieldSet&) {}).ending, Ending::Ignored);
            worker.cancel();
            worker.cancel();
            EXPECT_TRUE(worker.start([] {}));
            worker.wait();
        });
    EXPECT_EQ(cancelled.ending, Ending::Cancelled);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(doc.text(Field::Text5), defaultText(Field::Text5));

    int runs = 0;
    EXPECT_TRUE(
        runner.runOnWorker([&](FieldSet& f) { f.setText(Field::Text5, std::to_string(++runs)); }, {}, [](Worker&) {})
            .completed());
    EXPECT_EQ(doc.text(Field::Text5), "1");
    EXPECT_FALSE(runner.isRunning());
}

// Ties round away from zero: 0.125 → 0.13, 2.5 → 3, 0.0625 → 0.063, 99.5 → 100; 9.995 is
// 9.99499… in binary and rounds down. Bars take six significant digits.
TEST(ReviewTexts, FixedDecimalsRoundTiesAwayFromZero) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {{0.125, 2, "0.13"}, {-0.125, 2, "-0.13"}, {2.5, 0, "3"},    {0.0625, 3, "0.063"},
                 {99.5, 0, "100"},   {9.995, 2, "9.99"},   {1.0, 2, "1.00"}, {2401.6, 0, "2402"}};
    review::Section odd;
    odd.given.bars = {{12.3456789, 100}};
    EXPECT_EQ(resultCells(odd)[kRowGiven], "Φ12.3457@100");  // six significant digits
    for (const auto& c : cases) EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value;
    EXPECT_EQ(fixed(std::optional<double>{}, 1), "—");
}

// The window's wall (the defaults): M1 107.2080 and As1 1527.315 by the four buttons; the
// review's base section fails with Φ16@100 and the span passes. A refused option keeps that
// review, stale, with the engine's reason.
TEST(ReviewModel, ReviewsTheDocumentAndKeepsTheLastGoodReviewWhenRefused) {
    WallDocument doc;
    ReviewModel model(doc);
    model.recompute();
    ASSERT_TRUE(model.result());
    EXPECT_FALSE(model.isStale());
    EXPECT_EQ(model.status(), "复核完成（现行规范）：实配Φ16@100　跨中满足，底部支座不满足，受剪满足");
    EXPECT_EQ(model.shearFigures(),
              "受剪（不配箍筋，GB/T 50010-2010 第6.3.3条）：Vc＝0.7·βh·ft·b·h0＝242.2 kN/m；顶部支座 "
              "V＝63.3 ≤ Vc 满足；底部支座 V＝200.8 ≤ Vc 满足");
    EXPECT_EQ(model.warningsText(), "审图提示：GB/T 1499.2-2018：HRB335钢筋已不再生产，宜改用HRB400");
    EXPECT_NE(model.fourButtons().find("M1＝107.2080 kN·m"), std::string::npos) << model.fourButtons();
    EXPECT_NE(model.fourButtons().find("As1＝1527.315 mm²"), std::string::npos) << model.fourButtons();
    EXPECT_EQ(resultCells(model.result()->sections[0])[kRowGiven], "Φ16@100");
    doc.setOption("bars_out", "16@200+14@200");
    model.recompute();
    EXPECT_EQ(resultCells(model.result()->sections[1])[kRowGiven], "Φ16@200+Φ14@200");
    EXPECT_NE(model.status().find("实配外侧Φ16@200+Φ14@200、内侧Φ16@100"), std::string::npos) << model.status();
    doc.setOption("bars_out", "");
    EXPECT_EQ(doc.text(Field::Text5), defaultText(Field::Text5));  // worked on a copy

    doc.setOption("gamma0", "abc");
    model.recompute();
    EXPECT_TRUE(model.isStale());
    EXPECT_TRUE(model.result());
    EXPECT_EQ(model.status(),
              "输入被拒绝（显示的是上一次有效的结果）：复核选项 gamma0（结构重要性系数γ0）的值“abc”不是数值");
    EXPECT_EQ(model.reviews(), 3);
}

TEST(ReviewModel, TheBookNamesTheWallByItsFileAndIsTheReportLineForLine) {
    struct Case {
        const char* path;
        const char* subject;
    };
    const Case cases[] = {
        {"/home/li/walls/B1-north.wall", "B1-north"},
        {"D:\\walls\\墙 1.wall", "墙 1"},
        {"walls/B1.east.wall", "B1.east"},  // the last extension only
        {"B2", "B2"},
        {"walls/.wall", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(reviewSubject(c.path), c.subject) << c.path;

    WallDocument doc;
    ReviewModel model(doc);
    model.recompute();
    const report::book::Document book = model.book("2024-05-01");
    // An unnamed wall is named so in the page header; the book's text is the review report's.
    EXPECT_EQ(book.subject, "未命名墙");
    EXPECT_EQ(report::book::plainText(book), model.reportText("2024-05-01"));
}

}  // namespace
