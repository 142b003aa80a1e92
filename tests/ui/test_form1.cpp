#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/field_read.h"
#include "report/compose.h"
#include "ui/reportbox.h"
#include "window_fixture.h"

namespace wallcalc::ui::testing {
namespace {

// The name of the control that holds the focus (a combo box's editor counts as the combo box).
QString focusedControl() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")))
            return widget->objectName();
    return {};
}

TEST_F(WindowTest, OpensWithEveryFieldAtItsDefaultAndTheFocusOnThePicture) {
    for (Field field : allFields()) EXPECT_EQ(form->fieldText(field), defaultText(field)) << fieldName(field);
    EXPECT_EQ(form->fieldText(Field::Combo1), " 1");
    EXPECT_FALSE(form->fieldWidget(Field::Text28)->isVisible());
    EXPECT_EQ(focusedControl(), "Picture1");

    auto* combo = qobject_cast<QComboBox*>(form->fieldWidget(Field::Combo1));
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable());
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "1");
    EXPECT_EQ(combo->itemText(2), "3");
    // Picking an item replaces the text, even the first item, which " 1" does not match.
    combo->setCurrentIndex(0);
    EXPECT_EQ(form->fieldText(Field::Combo1), "1");
}

TEST_F(WindowTest, TabVisitsTheControlsInTabIndexOrderAndSkipsTheHiddenField) {
    const QStringList expected = {"Text1",  "Text2",    "Text3",    "Text4",    "Command1", "Text5",   "Text6",
                                  "Text7",  "Text8",    "Command2", "Text9",    "Text10",   "Text11",  "Text12",
                                  "Text13", "Text14",   "Text15",   "Text16",   "Text17",   "Combo1",  "Text18",
                                  "Text19", "Text20",   "Text21",   "Text22",   "Text23",   "Text24",  "Text25",
                                  "Text26", "Command4", "Text29",   "Command3", "Command5", "Picture1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedControl();
    }
    EXPECT_EQ(visited, expected);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focusedControl(), "Command5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focusedControl(), "Command3");
}

TEST_F(WindowTest, StrengthCalculationFillsTheWorkedExampleAndRepeatsItself) {
    const std::pair<Field, const char*> expected[] = {
        {Field::Text19, "5"},
        {Field::Text20, "4.5"},
        {Field::Text21, "24.75"},
        {Field::Text22, "45"},
        {Field::Text23, "96.1"},
        {Field::Text5, "107.2080"},
        {Field::Text6, "85.2556"},
        {Field::Text24, "110.2688"},
        {Field::Text11, "32.0415766705536"},
        {Field::Text12, "25.1085968211755"},
        {Field::Text7, "1527.315"},
        {Field::Text8, "1196.843"},
    };
    press("Command1");
    for (const auto& [field, text] : expected) EXPECT_EQ(form->fieldText(field), text) << fieldName(field);
    EXPECT_TRUE(boxes.empty());

    const FieldSet first = form->fieldTexts();
    press("Command1");
    EXPECT_EQ(form->fieldTexts(), first);
}

// Each button gives the same texts as its action run on the window's texts, and the texts it
// reads are those the engineer typed, into input and output fields alike.
TEST_F(WindowTest, ActionsReadWhatWasTypedIntoTheFields) {
    auto type = [&](Field field, const char* text) {
        auto* edit = qobject_cast<QLineEdit*>(form->fieldWidget(field));
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    };
    type(Field::Text1, "20");
    press("Command1");
    type(Field::Text24, "150");  // the crack check takes the edited service moment

    FieldSet expected = form->fieldTexts();
    EXPECT_EQ(expected.text(Field::Text24), "150");
    crackWidthCheck(expected);
    press("Command2");
    EXPECT_EQ(form->fieldTexts(), expected);

    composeReport(expected);
    press("Command4");
    EXPECT_EQ(form->fieldText(Field::Text29), expected.text(Field::Text29));
    EXPECT_TRUE(boxes.empty());
}

struct FaultCase {
    const char* name;
    Field field;
    const char* text;
    const char* button;
    int number;
    // The field that gets the cursor after the box; none where the field is hidden or no
    // single field is to blame.
    std::optional<Field> cursor;
    bool crackFirst = false;  // 裂缝计算 pressed after 强度计算, before the field is typed
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class FaultingPress : public WindowTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultingPress, ShowsOneErrorBoxChangesNothingAndTheWindowCarriesOn) {
    const FaultCase& c = GetParam();
    press("Command1");  // earlier results that must survive the failed press
    if (c.crackFirst) press("Command2");
    form->setFieldText(c.field, c.text);
    const FieldSet before = form->fieldTexts();

    press(c.button);

    ASSERT_EQ(boxes.size(), 1u);
    const QStringList lines = boxes[0].text.split('\n');
    ASSERT_EQ(lines.size(), 2) << boxes[0].text.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("运行时错误 %1：").arg(c.number))) << lines[0].toStdString();
    EXPECT_FALSE(lines[1].trimmed().isEmpty());
    EXPECT_EQ(boxes[0].title.toStdString(), "地下室外墙计算");
    EXPECT_EQ(form->fieldTexts(), before);
    EXPECT_TRUE(form->isVisible());
    if (c.cursor) {
        // The box named the field by its caption; the cursor is there, its text selected.
        EXPECT_EQ(focusedControl().toStdString(), fieldName(*c.cursor));
        QWidget* widget = form->fieldWidget(*c.cursor);
        QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) edit = combo->lineEdit();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_TRUE(lines[1].startsWith(QString::fromUtf8(std::string(fieldCaption(*c.cursor))) + "："))
            << lines[1].toStdString();
    }

    // Mended, the same press goes through.
    form->setFieldText(c.field, std::string(defaultText(c.field)));
    if (std::string(c.button) == "Command4") press("Command2");
    press(c.button);
    EXPECT_EQ(boxes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultingPress,
    ::testing::Values(
        FaultCase{"ThinWall", Field::Text4, "172", "Command1", fault_number::kInvalidCall, std::nullopt},
        FaultCase{"NoSteelStrength", Field::Text13, "", "Command1", fault_number::kDivisionByZero, std::nullopt},
        FaultCase{"LetterBarGrade", Field::Combo1, "a", "Command2", fault_number::kTypeMismatch, Field::Combo1},
        FaultCase{"NoSpacing", Field::Text25, "", "Command2", fault_number::kDivisionByZero, std::nullopt},
        // The crack results are placeholders: the report names the first and the button to press.
        FaultCase{"ReportBeforeCrackCheck", Field::Text28, "Text28", "Command4", fault_number::kInvalidCall,
                  Field::Text14},
        FaultCase{"GradeWithItsLetter", Field::Text10, "C30", "Command1", fault_number::kInvalidCall, Field::Text10},
        FaultCase{"SurchargeBeyondSingle", Field::Text1, "1E39", "Command1", fault_number::kOverflow, Field::Text1},
        FaultCase{"CommaInStoreyHeight", Field::Text9, "4,50", "Command1", fault_number::kTypeMismatch, Field::Text9},
        FaultCase{"HoggingServiceMoment", Field::Text24, "-100", "Command2", fault_number::kInvalidCall, Field::Text24},
        FaultCase{"NegativeSpacing", Field::Text25, "-100", "Command2", fault_number::kInvalidCall, Field::Text25},
        FaultCase{"NegativeSteelAreaInReport", Field::Text14, "-1", "Command4", fault_number::kInvalidCall,
                  Field::Text14, true}),
    [](const auto& info) { return std::string(info.param.name); });

// No length limit: a pasted text longer than a line edit's usual 32767 characters stays whole.
TEST_F(WindowTest, AFieldTakesTextOfAnyLength) {
    const std::string longText(40000, '1');
    for (Field field : {Field::Text1, Field::Combo1}) {
        form->setFieldText(field, longText);
        EXPECT_EQ(form->fieldText(field).size(), longText.size()) << fieldName(field);
    }
}

TEST_F(WindowTest, ReportBoxGivesBackExactlyWhatWasPutIn) {
    FieldSet fields;
    strengthCalculation(fields);
    crackWidthCheck(fields);
    const std::string report = reportText(fields);
    ASSERT_EQ(std::count(report.begin(), report.end(), '\n'), 55);

    for (const std::string& text : {std::string("计算书\r\n"), report, std::string(), std::string("a\r\n\r\n\r\nb")}) {
        form->setFieldText(Field::Text29, text);
        EXPECT_EQ(form->fieldText(Field::Text29), text);
    }

    // Typed line breaks come back as CR LF too.
    form->setFieldText(Field::Text29, "计算书\r\n");
    auto* box = qobject_cast<QPlainTextEdit*>(form->fieldWidget(Field::Text29));
    ASSERT_NE(box, nullptr);
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, QStringLiteral("p=10"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("h1 0.5"));
    EXPECT_EQ(form->fieldText(Field::Text29), "计算书\r\np=10\r\nh1 0.5");
}

TEST(ReportBoxText, KeepsEveryCharacterButTurnsParagraphsIntoCrLf) {
    EXPECT_EQ(displayTextFromField("a\r\nb\r\n"), QStringLiteral("a\nb\n"));
    const QString raw = QStringLiteral("x") + QChar::ParagraphSeparator + QChar(0x00A0) + QChar(0xE010);
    EXPECT_EQ(fieldTextFromRaw(raw), "x\r\n\u00A0\uE010");
}

}  // namespace
}  // namespace wallcalc::ui::testing

namespace wallcalc::ui::testing {
namespace {

// A result that belongs to no press of the inputs shown is greyed, the verdict loses its green,
// and the presses that would read it refuse and name the button to press.
TEST_F(WindowTest, StaleResultsAreGreyedAndRefused) {
    auto ink = [&](Field field) { return form->fieldWidget(field)->palette().color(QPalette::Text); };
    auto paper = [&](Field field) { return form->fieldWidget(field)->palette().color(QPalette::Base); };
    const QColor grey(128, 128, 128), green(0, 192, 0);

    // At start the placeholders (M1 100, 满足要求 on green) are no answers.
    EXPECT_EQ(ink(Field::Text5), grey);
    EXPECT_EQ(ink(Field::Text18), grey);
    EXPECT_NE(paper(Field::Text18), green);
    EXPECT_NE(ink(Field::Text1), grey);

    press("Command1");
    press("Command2");
    EXPECT_NE(ink(Field::Text5), grey);
    EXPECT_NE(ink(Field::Text15), grey);
    EXPECT_EQ(paper(Field::Text18), green);
    ASSERT_TRUE(boxes.empty());

    // New inputs: every result of both presses greyed.
    auto* q = qobject_cast<QLineEdit*>(form->fieldWidget(Field::Text1));
    q->selectAll();
    QTest::keyClicks(q, QStringLiteral("40"));
    form->setFieldText(Field::Text4, "400");
    for (Field field : {Field::Text5, Field::Text24, Field::Text15, Field::Text18}) EXPECT_EQ(ink(field), grey);
    EXPECT_NE(paper(Field::Text18), green);

    const FieldSet before = form->fieldTexts();
    press("Command4");
    press("Command2");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.endsWith(QStringLiteral("支座弯距：不是按当前输入算得的结果，请先按“强度计算”")))
        << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[1].text.endsWith(QStringLiteral("弯距标准值Mk：不是按当前输入算得的结果，请先按“强度计算”")))
        << boxes[1].text.toStdString();
    EXPECT_EQ(form->fieldTexts(), before);

    // Pressed in order, the wall's real answer: ωmax 0.2526 mm > 0.2.
    press("Command1");
    press("Command2");
    EXPECT_EQ(form->fieldText(Field::Text15), "0.2526");
    EXPECT_EQ(form->fieldText(Field::Text18), "不满足要求！");
    EXPECT_NE(ink(Field::Text15), grey);
    EXPECT_EQ(paper(Field::Text18), green);
}

}  // namespace
}  // namespace wallcalc::ui::testing
