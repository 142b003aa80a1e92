// The review window's options are the wall's: shown from the wall file, marked as changes of the
// wall, saved with it, and reviewed after reopening as the command line reviews the file.

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "review/review.h"
#include "ui/filedialog.h"
#include "ui/reviewwindow.h"
#include "wallfile/wallfile.h"
#include "window_fixture.h"

namespace wallcalc::ui::testing {
namespace {

class ReviewOptions : public WindowTest {
protected:
    ReviewWindow* open() {
        press("Command5");
        return form->findChild<ReviewWindow*>();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    // The option's text in its control (a combo box's option word).
    static QString shown(ReviewWindow* window, std::string_view key) {
        QWidget* widget = window->optionWidget(key);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentData().toString();
        return static_cast<QLineEdit*>(widget)->text();
    }
    // Types over an option's text as the engineer does, key by key.
    static void type(ReviewWindow* window, std::string_view key, const char* text) {
        auto* edit = static_cast<QLineEdit*>(window->optionWidget(key));
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }
    // The "review" member of wallcalc-cli --input FILE review.
    static std::string cliReview(const QString& file) {
        QProcess cli;
        cli.start(QStringLiteral(WALLCALC_CLI), {QStringLiteral("--input"), file, QStringLiteral("review")});
        if (!cli.waitForFinished(30000)) return "wallcalc-cli did not finish";
        std::string out = cli.readAllStandardOutput().toStdString();
        std::erase(out, '\r');
        const std::size_t at = out.find("\"review\": ");
        if (at == std::string::npos) return out;
        out = out.substr(at + 10);
        return out.substr(0, out.find_last_of('}'));  // without the closing brace of the output
    }

    QTemporaryDir dir;
};

// A wall file with a fixed top slab and an outer cover of 40 mm: base h0 = 300 − 40 − 8 = 252 mm,
// and the fixed slab adds the third section.
TEST_F(ReviewOptions, ControlsShowTheFilesOptionsAndNewPutsTheDefaultsBack) {
    wallfile::Wall wall;
    wall.options.set("support", "fixed");
    wall.options.set("cover_out", "40");
    wallfile::save(path("w.wall").toStdString(), wall);
    for (const bool windowFirst : {true, false}) {
        ReviewWindow* window = windowFirst ? open() : nullptr;
        ASSERT_TRUE(form->openWall(path("w.wall")));
        if (!windowFirst) window = open();
        window->recompute();
        EXPECT_EQ(shown(window, "support"), QStringLiteral("fixed")) << windowFirst;
        EXPECT_EQ(shown(window, "cover_out"), QStringLiteral("40"));
        EXPECT_EQ(window->result()->sections.size(), 3u);
        EXPECT_EQ(window->result()->sections[0].h0, 252);
        EXPECT_FALSE(form->isModified());  // showing the options changed nothing

        form->newWall();
        window->recompute();
        EXPECT_EQ(shown(window, "support"), QStringLiteral("propped"));
        EXPECT_EQ(shown(window, "cover_out"), QStringLiteral("50"));
        EXPECT_EQ(window->result()->sections.size(), 2u);
        EXPECT_FALSE(form->isModified());
        delete window;
    }
    EXPECT_TRUE(boxes.empty());
}

// Inner cover 30 mm: span h0 = 300 − 30 − 8 = 262 mm. γ0 "abc" is refused: the engine's message in
// the status line and in the box that refuses 保存, since the file could not hold it.
TEST_F(ReviewOptions, ChangedOptionMarksTheWallIsSavedAndReopensReviewedAsTheCommandLine) {
    ASSERT_TRUE(form->saveWall(path("w.wall")));
    ReviewWindow* window = open();
    QSignalSpy heard(form.get(), &Form1::reviewOptionsChanged);
    type(window, "cover_in", "30");
    EXPECT_EQ(heard.count(), 2);  // "3", "30": once a keystroke, no echo from the control
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("w.wall* - "))) << form->windowTitle().toStdString();

    type(window, "gamma0", "abc");
    window->recompute();
    EXPECT_TRUE(window->statusText().contains(QStringLiteral("gamma0（结构重要性系数γ0）的值“abc”不是数值")));
    EXPECT_FALSE(form->save());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("“abc”不是数值")));
    // 另存为 says so before it asks for a file name.
    int dialogs = 0;
    const FileDialog::Interceptor before = FileDialog::setInterceptor([&](const FileDialog::Asked&) {
        ++dialogs;
        return path("other.wall");
    });
    EXPECT_FALSE(form->saveAs());
    FileDialog::setInterceptor(before);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_FALSE(QFileInfo::exists(path("other.wall")));
    type(window, "gamma0", "1");  // the default's text: not kept
    ASSERT_TRUE(form->save());
    EXPECT_EQ(wallfile::load(path("w.wall").toStdString()).options.entries(),
              (std::vector<std::pair<std::string, std::string>>{{"cover_in", "30"}}));

    form->newWall();
    ASSERT_TRUE(form->openWall(path("w.wall")));
    window->recompute();
    EXPECT_EQ(shown(window, "cover_in"), QStringLiteral("30"));
    EXPECT_EQ(window->result()->sections[0].h0, 262);
    EXPECT_EQ(cliReview(path("w.wall")), review::reviewJson(*window->result()));
}

}  // namespace
}  // namespace wallcalc::ui::testing
