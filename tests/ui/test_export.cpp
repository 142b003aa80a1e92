#include <QLabel>
#include <QTimer>

#include <QPushButton>

#include "ui/busynote.h"
#include "window_fixture.h"

namespace wallcalc::ui::testing {
namespace {

TEST_F(WindowTest, ExportHandsOverTheReportBoxAsItStandsAndChangesNoField) {
    press("Command1");
    press("Command2");
    press("Command4");
    form->setFieldText(Field::Text29, form->fieldText(Field::Text29) + "补充说明\r\n");
    const FieldSet before = form->fieldTexts();

    press("Command3");
    press("Command3");

    ASSERT_EQ(exporter->received.size(), 2u);
    EXPECT_EQ(exporter->received[0], before.text(Field::Text29));
    EXPECT_EQ(exporter->received[1], before.text(Field::Text29));
    EXPECT_EQ(form->fieldTexts(), before);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowTest, FailedExportShowsTheFaultAndChangesNoField) {
    exporter->failWith = Fault{429, "部件不能创建对象", "找不到文字处理软件"};
    form->setFieldText(Field::Text29, "计算书\r\n校核\r\n");  // the engineer's own report
    const FieldSet before = form->fieldTexts();

    press("Command3");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.toStdString(), "运行时错误 429：部件不能创建对象\n找不到文字处理软件");
    EXPECT_EQ(form->fieldTexts(), before);
}

// While the word processor is being reached, a modal note stands over the window and no other
// press runs; when the export ends the note goes away by itself.
TEST_F(WindowTest, ExportWaitsOffTheWindowThreadBehindAModalNote) {
    exporter->hold = true;
    form->setFieldText(Field::Text29, "计算书\r\n校核\r\n");  // the engineer's own report
    bool checked = false;
    QTimer::singleShot(0, form.get(), [&] {
        ASSERT_TRUE(QTest::qWaitFor([] { return qobject_cast<BusyNote*>(QApplication::activeModalWidget()); }));
        auto* note = qobject_cast<BusyNote*>(QApplication::activeModalWidget());
        EXPECT_EQ(note->findChild<QLabel*>()->text(), QStringLiteral("正在打开文字处理软件……"));
        EXPECT_TRUE(form->isRunning());

        QTest::keyClick(note, Qt::Key_Escape);  // Escape does not close it
        EXPECT_TRUE(note->isVisible());
        form->Command1_Click();  // a press meanwhile is not run
        EXPECT_EQ(form->fieldText(Field::Text23), "10");

        {
            std::lock_guard lock(exporter->mutex);
            exporter->hold = false;
        }
        exporter->changed.notify_all();
        checked = true;
    });

    press("Command3");

    EXPECT_TRUE(checked);
    EXPECT_FALSE(form->isRunning());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_EQ(exporter->received.size(), 1u);
    EXPECT_EQ(exporter->received[0], "计算书\r\n校核\r\n");
    EXPECT_TRUE(boxes.empty());
}

// 取消 on the note closes it at once, tells the exporter to stop and ends the press quietly:
// no box, no field changed.
TEST_F(WindowTest, CancelOnTheNoteEndsTheExport) {
    exporter->hold = true;
    form->setFieldText(Field::Text29, "计算书\r\n校核\r\n");  // the engineer's own report
    const FieldSet before = form->fieldTexts();
    bool clicked = false;
    QTimer::singleShot(0, form.get(), [&] {
        ASSERT_TRUE(QTest::qWaitFor([] { return qobject_cast<BusyNote*>(QApplication::activeModalWidget()); }));
        auto* note = qobject_cast<BusyNote*>(QApplication::activeModalWidget());
        auto* cancel = note->findChild<QPushButton*>(QStringLiteral("BusyNoteCancel"));
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
        QTest::mouseClick(cancel, Qt::LeftButton);
        EXPECT_FALSE(note->isVisible());
        clicked = true;
    });

    press("Command3");

    EXPECT_TRUE(clicked);
    EXPECT_TRUE(exporter->cancelled);
    EXPECT_TRUE(exporter->received.empty());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(form->isRunning());
    EXPECT_EQ(form->fieldTexts(), before);
}

}  // namespace
}  // namespace wallcalc::ui::testing
