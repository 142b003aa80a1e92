// The review window: opening beside Form1, following its inputs, a refused input, the diagrams
// and the review report's two buttons.

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "ui/reviewdiagrams.h"
#include "ui/reviewwindow.h"
#include "window_fixture.h"

namespace wallcalc::ui::testing {
namespace {

class ReviewWindowTest : public WindowTest {
protected:
    ReviewWindow* open() {
        press("Command5");
        auto* window = form->findChild<ReviewWindow*>();
        EXPECT_NE(window, nullptr);
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }
    // Types into a line edit of either window and waits for the review that follows.
    static void type(ReviewWindow* window, QWidget* edit, const char* text) {
        const int before = window->reviews();
        static_cast<QLineEdit*>(edit)->setText(QString::fromUtf8(text));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->reviews() > before; }, 2000));
    }
    static bool hasColour(const QImage& image, const QRect& box, const QColor& colour) {
        for (int y = std::max(0, box.top()); y <= std::min(image.height() - 1, box.bottom()); ++y)
            for (int x = std::max(0, box.left()); x <= std::min(image.width() - 1, box.right()); ++x)
                if (image.pixelColor(x, y) == colour) return true;
        return false;
    }
};

// The defaults: H 5 m, L 4.5 m, t 300 mm, Φ16, cover 50/20 mm.
TEST_F(ReviewWindowTest, OpensBesideTheFormWithTheDefaultsReviewedAndChangesNoField) {
    const FieldSet before = form->fieldTexts();
    ReviewWindow* window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // not modal
    EXPECT_EQ(window->windowTitle(), QStringLiteral("复核"));
    ASSERT_TRUE(window->result());
    EXPECT_FALSE(window->isStale());
    // h0 = 300 − 50 − 0 − 16/2 = 242 mm at the base, 300 − 20 − 8 = 272 mm in the span.
    ASSERT_EQ(window->result()->sections.size(), 2u);
    EXPECT_EQ(window->result()->sections[1].h0, 242);
    EXPECT_EQ(window->result()->sections[0].h0, 272);
    auto* table = window->findChild<QTableWidget*>(QStringLiteral("resultsTable"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("底部支座"));
    EXPECT_EQ(table->item(3, 1)->text(), QStringLiteral("242.0"));
    // The four buttons' method ran on a copy: the comparison line has its figures, the
    // fields of Form1 are untouched.
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("oldMethod"))->text().contains(QStringLiteral("M1＝")));
    // The shear at both supports with its verdict; HRB335 of the defaults is no longer rolled.
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("shearFigures"))
                    ->text()
                    .contains(QStringLiteral("底部支座 V＝200.8 ≤ Vc 满足")));
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("warnings"))->text().contains(QStringLiteral("HRB335")));
    EXPECT_EQ(form->fieldTexts(), before);
    struct Default {
        const char* key;
        const char* text;
    };
    for (const Default& d :
         {Default{"gamma0", "1"}, Default{"K0", "0.5"}, Default{"gamma", "18"}, Default{"gamma_sub", "11"},
          Default{"gamma_w", "10"}, Default{"psi_q", "0.5"}, Default{"cover_out", "50"}, Default{"cover_in", "20"},
          Default{"dh", "0"}, Default{"wlim_out", "0.2"}, Default{"wlim_in", "0.2"}})
        EXPECT_EQ(static_cast<QLineEdit*>(window->optionWidget(d.key))->text(), QString::fromUtf8(d.text)) << d.key;

    press("Command5");  // a second press shows the same window
    EXPECT_EQ(form->findChildren<ReviewWindow*>().size(), 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReviewWindowTest, FollowsTheFormsInputsOnceTypingPauses) {
    ReviewWindow* window = open();
    ASSERT_NE(window, nullptr);
    const int before = window->reviews();
    auto* thickness = static_cast<QLineEdit*>(form->fieldWidget(Field::Text4));
    // Three keystrokes in quick succession: one review, of the last text.
    for (const char* text : {"4", "40", "400"}) thickness->setText(QString::fromUtf8(text));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->reviews() > before; }, 2000));
    QTest::qWait(300);
    EXPECT_EQ(window->reviews(), before + 1);
    // h0 = 400 − 50 − 8 = 342 mm.
    EXPECT_EQ(window->result()->t, 400);
    EXPECT_EQ(window->result()->sections.back().h0, 342);

    // A change made in the wall document itself, as any view or a wall file makes it: Form1's
    // control shows it and the review follows; the report box is no input of the review.
    const int beforeDocument = window->reviews();
    form->document().setText(Field::Text4, "350");
    EXPECT_EQ(thickness->text(), QStringLiteral("350"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->reviews() > beforeDocument; }, 2000));
    EXPECT_EQ(window->result()->t, 350);
    const int afterDocument = window->reviews();
    form->document().setText(Field::Text29, "计算书");
    QTest::qWait(300);
    EXPECT_EQ(window->reviews(), afterDocument);

    // An option of the window: a fixed top slab adds the third section.
    auto* support = window->optionWidget("support");
    ASSERT_NE(support, nullptr);
    const int beforeSupport = window->reviews();
    static_cast<QComboBox*>(support)->setCurrentIndex(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->reviews() > beforeSupport; }, 2000));
    EXPECT_EQ(window->result()->sections.size(), 3u);
    EXPECT_EQ(window->findChild<QTableWidget*>(QStringLiteral("resultsTable"))->columnCount(), 3);
}

// A refused input, of Form1 or of the window: the engine's message in the status line, the last
// good results greyed and unchanged; the next good input brings them back.
TEST_F(ReviewWindowTest, RefusedInputShowsWhyAndGreysTheLastGoodResults) {
    ReviewWindow* window = open();
    ASSERT_NE(window, nullptr);
    struct Case {
        QWidget* edit;
        const char* refused;
        const char* good;
        const char* message;
    };
    const Case cases[] = {
        {form->fieldWidget(Field::Text10), "33", "30", "Text10（混凝土强度等级）"},
        {window->optionWidget("gamma0"), "-1", "1", "gamma0（结构重要性系数γ0）不能为负数"},
        {form->fieldWidget(Field::Text4), "55", "300", "Text4"},  // no wall is 55 mm thick
    };
    auto* results = window->findChild<QWidget*>(QStringLiteral("results"));
    auto* exportButton = window->findChild<QPushButton*>(QStringLiteral("exportReport"));
    for (const Case& c : cases) {
        const double shownMoment = window->result()->sections[0].Muls;
        type(window, c.edit, c.refused);
        EXPECT_TRUE(window->isStale()) << c.refused;
        EXPECT_TRUE(window->statusText().contains(QString::fromUtf8(c.message)))
            << c.refused << ": " << window->statusText().toStdString();
        EXPECT_FALSE(results->isEnabled());
        EXPECT_FALSE(exportButton->isEnabled());
        EXPECT_EQ(window->result()->sections[0].Muls, shownMoment);

        type(window, c.edit, c.good);
        EXPECT_FALSE(window->isStale());
        EXPECT_TRUE(results->isEnabled());
        EXPECT_TRUE(window->statusText().startsWith(QStringLiteral("复核完成")));
    }
    EXPECT_TRUE(boxes.empty());
}

// Pressures at the base slab of the defaults: earth K0·γ·h1 + K0·γ′·(H − h1) = 4.5 + 24.75 =
// 29.25, water γw·(H − h1) = 45, surcharge K0·p = 5 kN/m². The moments: hogging at the base to
// the left of the axis, sagging in the span to the right, in red.
TEST_F(ReviewWindowTest, DiagramsDrawTheLoadsAndMomentsWhereTheyAct) {
    ReviewWindow* window = open();
    ASSERT_NE(window, nullptr);
    auto* pressure = window->findChild<ReviewDiagram*>(QStringLiteral("pressureDiagram"));
    auto* moment = window->findChild<ReviewDiagram*>(QStringLiteral("momentDiagram"));
    ASSERT_TRUE(pressure && moment);
    const double L = window->result()->L;
    const QImage loads = pressure->grab().toImage();
    const double dpr = loads.devicePixelRatio();
    auto at = [&](const ReviewDiagram* d, double value, double x, int half) {
        const QPoint centre(qRound(d->xOf(value) * dpr), qRound(d->yOf(x) * dpr));
        return QRect(centre - QPoint(half, half), QSize(2 * half + 1, 2 * half + 1));
    };
    const double nearBase = 0.97 * L;
    EXPECT_TRUE(hasColour(loads, at(pressure, 14, nearBase, 1), ReviewDiagram::earthColour()));
    EXPECT_TRUE(hasColour(loads, at(pressure, 55, nearBase, 1), ReviewDiagram::waterColour()));
    EXPECT_TRUE(hasColour(loads, at(pressure, 76.5, nearBase, 1), ReviewDiagram::surchargeColour()));
    EXPECT_FALSE(hasColour(loads, at(pressure, 95, nearBase, 1), ReviewDiagram::surchargeColour()));

    const review::Section& base = window->result()->sections[1];
    const review::Section& span = window->result()->sections[0];
    const QImage moments = moment->grab().toImage();
    EXPECT_LT(moment->xOf(-base.Muls), moment->xOf(0));
    EXPECT_GT(moment->xOf(span.Muls), moment->xOf(0));
    EXPECT_TRUE(hasColour(moments, at(moment, -base.Muls, L, 3), ReviewDiagram::ulsColour()));
    EXPECT_TRUE(hasColour(moments, at(moment, span.Muls, span.x, 3), ReviewDiagram::ulsColour()));
    EXPECT_FALSE(hasColour(moments, at(moment, -base.Muls, 0.5 * L, 3), ReviewDiagram::ulsColour()));

    // Greyed: no colour left.
    type(window, form->fieldWidget(Field::Text13), "333");
    ASSERT_TRUE(window->isStale());
    const QImage grey = moment->grab().toImage();
    EXPECT_FALSE(hasColour(grey, grey.rect(), ReviewDiagram::ulsColour()));
}

TEST_F(ReviewWindowTest, ReportIsShownAndHandedToTheWordProcessorAsANewDocument) {
    ReviewWindow* window = open();
    ASSERT_NE(window, nullptr);
    const FieldSet before = form->fieldTexts();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("showReport")), Qt::LeftButton);
    auto* shown = window->findChild<QPlainTextEdit*>(QStringLiteral("reviewReport"));
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->toPlainText().contains(QStringLiteral("地下室外墙复核计算书")));

    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("exportReport")), Qt::LeftButton);
    ASSERT_EQ(exporter->received.size(), 1u);
    EXPECT_EQ(exporter->received[0], window->reportText());
    EXPECT_TRUE(exporter->received[0].ends_with("\r\n"));
    // As a book, with its two diagrams; an unsaved wall is named as such in the page header.
    ASSERT_EQ(exporter->books.size(), 1u);
    EXPECT_NE(exporter->books[0].find("\"kind\":\"figure\""), std::string::npos);
    EXPECT_NE(exporter->books[0].find("未命名墙"), std::string::npos);
    EXPECT_EQ(form->fieldTexts(), before);
    EXPECT_TRUE(boxes.empty());

    // The faults of 计算书保存, in the same box.
    exporter->failWith = Fault{429, "部件不能创建对象", "找不到文字处理软件"};
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("exportReport")), Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.toStdString(), "运行时错误 429：部件不能创建对象\n找不到文字处理软件");
}

}  // namespace
}  // namespace wallcalc::ui::testing
