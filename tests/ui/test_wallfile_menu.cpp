// The 文件 menu: wall files opened and saved, the title, and the question before unsaved changes
// are lost.

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <fstream>

#include "ui/filedialog.h"
#include "window_fixture.h"

namespace wallcalc::ui::testing {
namespace {

class WallFileMenu : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        previousDialog_ = FileDialog::setInterceptor([this](const FileDialog::Asked&) { return chosen; });
    }
    void TearDown() override {
        FileDialog::setInterceptor(previousDialog_);
        WindowTest::TearDown();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void type(Field field, const char* text) {
        auto* edit = static_cast<QLineEdit*>(form->fieldWidget(field));
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    QTemporaryDir dir;
    QString chosen;

private:
    FileDialog::Interceptor previousDialog_;
};

TEST_F(WallFileMenu, SaveOpenAndTheTitle) {
    EXPECT_FALSE(form->windowTitle().contains(QStringLiteral("*")));
    type(Field::Text1, "20");
    EXPECT_TRUE(form->isModified());
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("未命名* - "))) << form->windowTitle().toStdString();

    chosen = path("墙一");  // the extension is added
    ASSERT_TRUE(form->saveAs());
    EXPECT_EQ(form->wallPath(), path("墙一.wall"));
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("墙一.wall - "))) << form->windowTitle().toStdString();

    // Back to the defaults, then the file again: its inputs, every result at its default.
    form->Command1_Click();
    form->newWall();
    EXPECT_EQ(form->fieldText(Field::Text1), "10");
    chosen = path("墙一.wall");
    form->openWallFile();
    EXPECT_EQ(form->fieldText(Field::Text1), "20");
    EXPECT_EQ(form->fieldText(Field::Text5), std::string(defaultText(Field::Text5)));
    EXPECT_FALSE(form->isModified());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(WallFileMenu, UnsavedChangesAreAskedAboutAndABadFileChangesNothing) {
    type(Field::Text4, "350");
    std::ofstream(path("bad.wall").toStdString()) << "{\"format\": \"wallcalc-wall\", \"version\": 1, \"fields\": {";

    // 取消: nothing opened, the window stays with the change.
    MessageBox::preAnswer(MessageBox::Answer::Cancel);
    chosen = path("bad.wall");
    form->openWallFile();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageBox::Kind::Question);
    EXPECT_EQ(form->fieldText(Field::Text4), "350");
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());

    // 不保存, then a damaged file: its message, and the fields as they were.
    boxes.clear();
    MessageBox::preAnswer(MessageBox::Answer::Discard);
    form->openWallFile();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].kind, MessageBox::Kind::Error);
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("已损坏"))) << boxes[1].text.toStdString();
    EXPECT_EQ(form->fieldText(Field::Text4), "350");

    // 不保存 on closing lets the window close.
    MessageBox::preAnswer(MessageBox::Answer::Discard);
    EXPECT_TRUE(form->close());
}

}  // namespace
}  // namespace wallcalc::ui::testing
