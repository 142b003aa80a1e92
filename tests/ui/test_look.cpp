#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>

#include "ui/fonts.h"
#include "ui/picturebox.h"
#include "window_fixture.h"

namespace wallcalc::ui::testing {
namespace {

QString drawingFamily(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

TEST_F(WindowTest, BundledArtworkLoads) {
    auto* picture = form->findChild<PictureBox*>(QStringLiteral("Picture1"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->picture().size(), QSize(512, 384));
    for (int size : {16, 32, 48}) EXPECT_TRUE(form->windowIcon().availableSizes().contains(QSize(size, size))) << size;
    EXPECT_TRUE(QFontDatabase::families().contains(QString::fromUtf8(kSymbolFamily)));
}

TEST_F(WindowTest, ReportSymbolsAreDrawnByTheProjectsFont) {
    const QFont font = form->fieldWidget(Field::Text29)->font();
    for (char16_t symbol : {0xE001, 0xE010, 0xE011, 0xE020, 0xE021, 0xE030})
        EXPECT_EQ(drawingFamily(font, QString(QChar(symbol))), QString::fromUtf8(kSymbolFamily))
            << std::hex << int(symbol);
}

// The Windows faces are missing here, so the Debian faces stand in for them.
TEST_F(WindowTest, FacesFallBackToTheNearestDebianFaces) {
    struct Case {
        const char* control;
        QString family;
    };
    const Case cases[] = {
        {"Text1", "AR PL UMing CN"},       // the default user-interface font, 宋体 9 pt
        {"Text18", "AR PL UKai CN"},       // 楷体_GB2312
        {"Label47", "Noto Serif CJK SC"},  // 新宋体 bold
        {"Label9", "AR PL UMing CN"},      // an exponent, 宋体 5.25 pt
    };
    for (const Case& c : cases) {
        if (!QFontDatabase::families().contains(c.family)) {
            ADD_FAILURE() << c.family.toStdString() << " is not installed";
            continue;
        }
        auto* widget = form->findChild<QWidget*>(QString::fromUtf8(c.control));
        ASSERT_NE(widget, nullptr) << c.control;
        EXPECT_EQ(drawingFamily(widget->font(), QStringLiteral("计")), c.family) << c.control;
    }
}

TEST(FaceFamilies, ListedNamesKeepTheirOrder) {
    const QStringList wanted{"宋体", "SimSun", "AR PL UMing CN", "Noto Serif CJK SC"};
    const struct {
        const char* what;
        QStringList listed;
        QStringList families;
    } cases[] = {
        {"the Debian faces",
         {"DejaVu Sans", "Noto Serif CJK SC", "AR PL UMing CN"},
         {"AR PL UMing CN", "Noto Serif CJK SC"}},
        {"the Windows faces", {"SimSun", "宋体", "Arial"}, {"宋体", "SimSun"}},
        {"another case", {"ar pl uming cn"}, {"AR PL UMing CN"}},
        {"made by two foundries", {"Noto Serif CJK SC [GOOG]", "Noto Serif CJK SC [ADBE]"}, {"Noto Serif CJK SC"}},
        {"a longer name is another", {"AR PL UMing CN Light", "SimSun-ExtB"}, wanted},
        {"none of them", {"DejaVu Sans"}, wanted},
        {"an empty database", {}, wanted},
    };
    for (const auto& c : cases) EXPECT_EQ(familiesListed(wanted, c.listed), c.families) << c.what;
}

// The Windows names are missing here and are left out of the lists, which keep the Debian faces
// in their order: a bold Song face still prefers the family that has a bold weight.
TEST(FaceFamilies, OnlyInstalledFamiliesInTheirOrder) {
    const struct {
        Face face;
        bool bold;
        QStringList families;
    } cases[] = {
        {Face::Song, false, {"AR PL UMing CN", "Noto Serif CJK SC"}},
        {Face::NewSong, false, {"AR PL UMing CN", "Noto Serif CJK SC"}},
        {Face::Song, true, {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {Face::NewSong, true, {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {Face::Kai, false, {"AR PL UKai CN"}},
    };
    const QStringList installed = QFontDatabase::families();
    for (const auto& c : cases) {
        if (!std::all_of(c.families.begin(), c.families.end(),
                         [&](const QString& f) { return installed.contains(f); })) {
            ADD_FAILURE() << c.families.join(u',').toStdString() << ": not all installed";
            continue;
        }
        EXPECT_EQ(faceFamilies(c.face, c.bold), c.families) << int(c.face) << c.bold;
        EXPECT_EQ(faceFont(c.face, 9, c.bold).families(), c.families) << int(c.face) << c.bold;
    }
}

// Nothing moves with the window, and every caption fits within its label.
TEST_F(WindowTest, LayoutStaysWhereItIsWhenTheWindowGrows) {
    QWidget* report = form->fieldWidget(Field::Text29);
    const QRect before = report->geometry();
    EXPECT_EQ(before, QRect(680, 32, 321, 697));
    // The client area below the menu bar; the window is taller by the bar.
    EXPECT_EQ(form->clientArea()->size(), QSize(662, 640));
    EXPECT_GT(form->height(), 640);
    form->resize(1100, 800);
    EXPECT_EQ(report->geometry(), before);

    for (QLabel* label : form->findChildren<QLabel*>()) {
        if (label->wordWrap() || label->objectName().isEmpty()) continue;
        const QSize needed = label->fontMetrics().size(0, label->text());
        EXPECT_GE(label->width(), needed.width()) << label->objectName().toStdString();
    }
}

}  // namespace
}  // namespace wallcalc::ui::testing
