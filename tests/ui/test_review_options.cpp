// The review window's options are the wall's: shown from the wall file, marked as changes of the
// wall, saved with it, and reviewed after reopening as the command line reviews the file.

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "review/review.h"
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

// A wall file with a fixed top slab, γ0 1.1 and an outer cover of 40 mm. Base h0 = 300 − 40 − 8
// = 252 mm; a fixed top slab adds the third section.
TEST_F(ReviewOptions, ControlsShowTheWallsOptionsWhetherOpenedBeforeOrAfterAndNewPutsTheDefaultsBack) {
    wallfile::Wall wall;
    wall.options.set("support", "fixed");
    wall.options.set("gamma0", "1.1");
    wall.options.set("cover_out", "40");
    wallfile::save(dir.filePath(QStringLiteral("w.wall")).toStdString(), wall);

    for (const bool windowFirst : {true, false}) {
        form->newWall();
        ReviewWindow* window = windowFirst ? open() : nullptr;
        ASSERT_TRUE(form->openWall(path("w.wall")));
        if (!windowFirst) window = open();
        ASSERT_NE(window, nullptr);
        window->recompute();
        EXPECT_EQ(shown(window, "support"), QStringLiteral("fixed")) << windowFirst;
        EXPECT_EQ(shown(window, "gamma0"), QStringLiteral("1.1"));
        EXPECT_EQ(shown(window, "cover_out"), QStringLiteral("40"));
        EXPECT_EQ(shown(window, "cover_in"), QStringLiteral("20"));
        EXPECT_EQ(shown(window, "edition"), QStringLiteral("current"));
        ASSERT_TRUE(window->result());
        EXPECT_EQ(window->result()->sections.size(), 3u);
        EXPECT_EQ(window->result()->sections[0].h0, 252);
        EXPECT_FALSE(form->isModified());  // showing the options changed nothing
        EXPECT_EQ(form->reviewOptions(), wall.options);

        form->newWall();
        window->recompute();
        for (const auto& [key, text] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"support", "propped"}, {"gamma0", "1"}, {"cover_out", "50"}})
            EXPECT_EQ(shown(window, key), QString::fromUtf8(text)) << key;
        EXPECT_EQ(window->result()->sections.size(), 2u);
        EXPECT_TRUE(form->reviewOptions().empty());
        EXPECT_FALSE(form->isModified());
        delete window;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ReviewOptions, ChangedOptionMarksTheWallIsSavedAndReopensReviewedAsTheCommandLine) {
    ASSERT_TRUE(form->saveWall(path("w.wall")));
    ReviewWindow* window = open();
    ASSERT_NE(window, nullptr);
    QSignalSpy heard(form.get(), &Form1::reviewOptionsChanged);

    type(window, "cover_in", "30");
    EXPECT_EQ(heard.count(), 2);  // "3", "30": once a keystroke, no echo from the control
    type(window, "gamma0", "1.2");
    type(window, "gamma0", "1");  // back at the default's text: not kept
    static_cast<QComboBox*>(window->optionWidget("edition"))->setCurrentIndex(1);
    EXPECT_TRUE(form->isModified());
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("w.wall* - "))) << form->windowTitle().toStdString();

    // The question before the changes are lost; 取消 keeps them.
    MessageBox::preAnswer(MessageBox::Answer::Cancel);
    form->newWall();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageBox::Kind::Question);
    EXPECT_EQ(shown(window, "cover_in"), QStringLiteral("30"));

    ASSERT_TRUE(form->save());
    EXPECT_FALSE(form->windowTitle().contains(QStringLiteral("*")));
    const wallfile::Wall saved = wallfile::load(path("w.wall").toStdString());
    ASSERT_EQ(saved.options.entries().size(), 2u);
    EXPECT_EQ(*saved.options.find("edition"), "2002");
    EXPECT_EQ(*saved.options.find("cover_in"), "30");
    EXPECT_EQ(saved.options.find("gamma0"), nullptr);

    form->newWall();
    ASSERT_TRUE(form->openWall(path("w.wall")));
    window->recompute();
    EXPECT_EQ(shown(window, "cover_in"), QStringLiteral("30"));
    EXPECT_EQ(shown(window, "edition"), QStringLiteral("2002"));
    ASSERT_TRUE(window->result());
    EXPECT_EQ(window->result()->sections[1].h0, 262);  // span, inner face: 300 − 30 − 8
    EXPECT_EQ(cliReview(path("w.wall")), review::reviewJson(*window->result()));
    EXPECT_EQ(boxes.size(), 1u);
}

// A refused option: the engine's message in the status line, the wall modified, 保存 refused
// with the same reason and nothing written; mended, the wall saves.
TEST_F(ReviewOptions, RefusedOptionIsReportedAndKeptOutOfTheFile) {
    ReviewWindow* window = open();
    ASSERT_NE(window, nullptr);
    struct Case {
        const char* key;
        const char* refused;
        const char* message;
    };
    for (const Case& c : {Case{"gamma0", "abc", "“abc”不是数值"}, Case{"cover_out", "-5", "不能为负数"}}) {
        boxes.clear();
        type(window, c.key, c.refused);
        window->recompute();
        EXPECT_TRUE(window->isStale()) << c.key;
        EXPECT_TRUE(window->statusText().contains(QString::fromUtf8(c.message))) << window->statusText().toStdString();
        EXPECT_EQ(form->reviewOptionText(c.key), c.refused);
        EXPECT_TRUE(form->isModified());

        EXPECT_FALSE(form->saveWall(path("w.wall")));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.contains(QString::fromUtf8(c.key))) << boxes[0].text.toStdString();
        EXPECT_TRUE(boxes[0].text.contains(QString::fromUtf8(c.message)));
        EXPECT_FALSE(QFile::exists(path("w.wall")));

        type(window, c.key, "2");
        EXPECT_EQ(shown(window, c.key), QStringLiteral("2"));
        ASSERT_TRUE(form->saveWall(path("w.wall")));
        EXPECT_EQ(*wallfile::load(path("w.wall").toStdString()).options.find(c.key), "2");
        ASSERT_TRUE(QFile::remove(path("w.wall")));
    }
}

}  // namespace
}  // namespace wallcalc::ui::testing
