// wallcalc.exe's windows driven from this program through window messages, under Wine on a
// display of their own: the figures of the presses, a refused input, a wall file opened and saved,
// and the review window, each against the command line's answer for the same wall.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/fields.h"
#include "form/layout.h"
#include "form/review_layout.h"
#include "tests/windows/stand_in_fixture.h"
#include "tests/windows/window_driver.h"
#include "wallfile/json.h"
#include "wallfile/wallfile.h"
#include "win32/ids.h"
#include "win32/resource.h"

namespace wallcalc {
namespace {

namespace fs = std::filesystem;
using testing::Box;
using testing::lines;
using testing::Program;
using win32::commandId;
using win32::fieldId;

const fs::path& exe() {
    static const fs::path path = testing::builtProgram(WALLCALC_EXE);
    return path;
}

// The command line's JSON for the default wall with `arguments`.
nlohmann::json cli(const std::wstring& arguments) {
    const std::string out = testing::capture(testing::builtProgram(WALLCALC_CLI_EXE), arguments);
    return wallfile::json::parse(out);
}

std::map<Field, std::string> fieldsOf(const Program& program) {
    std::map<Field, std::string> texts;
    for (Field field : allFields()) texts[field] = program.text(program.form(), fieldId(field));
    return texts;
}

fs::path scratchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / ("wallcalc-window-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder);
    return folder;
}

TEST(Form1OnWindows, ThePressesGiveTheCommandLinesFiguresAndARefusedInputChangesNothing) {
    Program program(exe());
    const HWND form = program.form();
    ASSERT_NE(form, nullptr) << "Form1 did not open";
    EXPECT_EQ(program.text(form, fieldId(Field::Combo1)), " 1");
    EXPECT_EQ(program.text(form, fieldId(Field::Text18)), "满足要求");
    EXPECT_EQ(program.text(form, fieldId(Field::Text29)), "计算书\r\n");

    // Tab walks the controls by their tab index, from the picture round to it again.
    std::vector<std::pair<int, int>> stops = {{form::kPictureTabIndex, win32::kPictureId}};
    for (const form::FieldSpec& spec : form::fieldSpecs())
        if (form::isShown(spec.field)) stops.emplace_back(spec.tabIndex, fieldId(spec.field));
    for (const form::ButtonSpec& spec : form::buttons()) stops.emplace_back(spec.tabIndex, 0);
    std::sort(stops.begin(), stops.end());
    HWND stop = program.control(form, win32::kPictureId);
    for (std::size_t i = 1; i <= stops.size(); ++i) {
        stop = GetNextDlgTabItem(form, stop, FALSE);
        const auto& [tabIndex, id] = stops[i % stops.size()];
        if (id) {
            EXPECT_EQ(GetDlgCtrlID(stop), id) << "tab index " << tabIndex;
        }
    }

    // The worked example: q 10, h1 0.5, h 5, wall 300, storey 4500, C30, fy 300. By hand:
    // Q = 1.4·0.5·10 + 1.2·(0.5·18·0.5 + 0.5·11·4.5 + 10·4.5) = 96.1 kN/m, M1 = 107.2080 kN·m,
    // M2 = 85.2556 kN·m, Mk = 110.2688 kN·m, As1 = 1527.315 mm², As2 = 1196.843 mm².
    program.press(form, commandId(1));
    const std::map<Field, std::string> expected = {
        {Field::Text23, "96.1"},     {Field::Text5, "107.2080"}, {Field::Text6, "85.2556"},
        {Field::Text24, "110.2688"}, {Field::Text7, "1527.315"}, {Field::Text8, "1196.843"},
    };
    for (const auto& [field, text] : expected) EXPECT_EQ(program.text(form, fieldId(field)), text) << fieldName(field);
    program.press(form, commandId(2));
    program.press(form, commandId(4));
    const nlohmann::json answer = cli(L"strength crack report");
    const auto shown = fieldsOf(program);
    for (Field field : allFields())
        EXPECT_EQ(shown.at(field), answer["fields"][std::string(fieldName(field))]) << fieldName(field);

    // Refused inputs: the box says what the command line says, the fields keep their texts, and
    // where the fault names a field the cursor goes there with its text selected. A wall of
    // 172 mm cannot carry the support moment: thicker wall or better concrete, no one field.
    struct Refusal {
        Field field;
        const char* text;
        int button;
        const wchar_t* action;
        bool focused;
    };
    for (const Refusal& r :
         {Refusal{Field::Text4, "172", 1, L"strength", false}, Refusal{Field::Text10, "C30", 1, L"strength", true},
          Refusal{Field::Combo1, "a", 2, L"strength crack", true}}) {
        SCOPED_TRACE(r.text);
        // 裂缝计算 takes only a current Mk: 强度计算 makes it, as the command line's action list does.
        if (r.button == 2) program.press(form, commandId(1));
        program.setText(form, fieldId(r.field), r.text);
        const auto before = fieldsOf(program);
        const Box box = program.pressForBox(form, commandId(r.button));
        ASSERT_TRUE(box) << "no fault box";
        const nlohmann::json refused = cli(L"--set " + testing::wide(std::string(fieldName(r.field))) + L"=" +
                                           testing::wide(r.text) + L" " + r.action);
        const nlohmann::json& fault = refused["fault"];
        ASSERT_TRUE(fault.is_object());
        EXPECT_EQ(box.text, "运行时错误 " + fault["number"].dump() + "：" + fault["description"].get<std::string>() +
                                "\n" + fault["what"].get<std::string>());
        EXPECT_EQ(box.title, "地下室外墙计算");
        box.press(IDOK);
        program.settle();
        EXPECT_EQ(fieldsOf(program), before);
        if (r.focused) {
            const HWND control = program.control(form, fieldId(r.field));
            HWND focus = nullptr;
            EXPECT_TRUE(testing::waitFor(
                [&] {
                    focus = program.focus();
                    return focus == control || GetParent(focus) == control;
                },
                5))
                << GetDlgCtrlID(focus);
            DWORD from = 1, to = 0;
            SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            EXPECT_EQ(from, 0u);
            EXPECT_EQ(to, std::string(r.text).size());
        }
        program.setText(form, fieldId(r.field), std::string(defaultText(r.field)));
    }

    // The window carries on: the defaults are computed as before.
    program.press(form, commandId(1));
    EXPECT_EQ(program.text(form, fieldId(Field::Text5)), "107.2080");
    EXPECT_TRUE(program.running());
}

TEST(Form1OnWindows, AWallFileOpensFromTheCommandLineAsksBeforeChangesAreLostAndSaves) {
    const fs::path folder = scratchFolder();
    const fs::path path = folder / fs::u8path("墙 1.wall");
    wallfile::Wall wall;
    wall.fields.setText(Field::Text1, "20");
    wall.fields.setText(Field::Text4, "250");
    wallfile::save(path, wall);

    Program program(exe(), L"\"" + path.wstring() + L"\"");
    const HWND form = program.form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(program.text(form, fieldId(Field::Text1)), "20");
    EXPECT_EQ(program.text(form, fieldId(Field::Text4)), "250");
    EXPECT_EQ(program.text(form, fieldId(Field::Text2)), "0.5");
    EXPECT_TRUE(program.title(form).starts_with("墙 1.wall - ")) << program.title(form);

    program.setText(form, fieldId(Field::Text1), "30");
    EXPECT_TRUE(program.title(form).starts_with("墙 1.wall* - ")) << program.title(form);

    // Closing asks first; 取消 keeps the window and its texts.
    PostMessageW(form, WM_CLOSE, 0, 0);
    const Box question = program.waitForBox();
    ASSERT_TRUE(question);
    EXPECT_EQ(question.text, "“墙 1.wall”已修改。是否保存修改？");
    question.press(IDCANCEL);
    program.settle();
    EXPECT_TRUE(program.running());
    EXPECT_EQ(program.text(form, fieldId(Field::Text1)), "30");

    // 保存 writes the file in place and the star goes; closing then asks nothing.
    program.command(IDM_SAVE);
    EXPECT_TRUE(program.title(form).starts_with("墙 1.wall - ")) << program.title(form);
    const wallfile::Wall saved = wallfile::load(path);
    EXPECT_EQ(saved.fields.text(Field::Text1), "30");
    EXPECT_EQ(saved.fields.text(Field::Text4), "250");
    EXPECT_TRUE(program.close());
    fs::remove_all(folder);
}

}  // namespace
}  // namespace wallcalc

namespace wallcalc {
namespace {

// A figure of the command line's review JSON as the window writes it.
std::string figure(const nlohmann::json& section, const char* key, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, section[key].get<double>());
    return text;
}

TEST(ReviewOnWindows, ShowsTheCommandLinesReviewBesideTheFourButtonsFiguresAndGreysARefusedInput) {
    Program program(exe());
    const HWND form = program.form();
    ASSERT_NE(form, nullptr);
    program.setText(form, fieldId(Field::Text4), "250");
    program.press(form, commandId(5));
    HWND review = testing::waitFor([&]() -> HWND {
        auto found = program.windows(win32::kReviewClass);
        return found.empty() ? nullptr : found.front();
    });
    ASSERT_NE(review, nullptr) << "no review window";
    auto status = [&] { return program.text(review, win32::kReviewStatusId); };
    ASSERT_TRUE(testing::waitFor([&] { return status().starts_with("复核完成"); }, 10)) << status();

    // Every section's figures as the command line's review of the same wall has them.
    const nlohmann::json answer = cli(L"--set Text4=250 review");
    const nlohmann::json& sections = answer["review"]["sections"];
    auto cell = [&](int row, int column) {
        return program.text(review, win32::kReviewCellBase + row * win32::kReviewColumns + column);
    };
    int column = 0;
    for (const nlohmann::json& s : sections) {
        SCOPED_TRACE(s["name"].get<std::string>());
        EXPECT_EQ(cell(form::kRowMuls, column), figure(s, "M_uls", 2));
        EXPECT_EQ(cell(form::kRowMsls, column), figure(s, "M_sls", 2));
        EXPECT_EQ(cell(form::kRowH0, column), figure(s, "h0", 1));
        EXPECT_EQ(cell(form::kRowAsMin, column), figure(s, "As_min", 0));
        EXPECT_EQ(cell(form::kRowAsReq, column), figure(s, "As_req", 0));
        EXPECT_EQ(cell(form::kRowVerdict, column), s["given"]["ok"].get<bool>() ? "满足" : "不满足");
        ++column;
    }
    // A propped top slab: no third section.
    EXPECT_EQ(cell(form::kRowMuls, 2), "");
    // The shear at each support with its verdict (250 mm fails at the base), and the warning of
    // the withdrawn HRB335 in its own line.
    const std::string shear = program.text(review, win32::kReviewShearId);
    for (const nlohmann::json& v : answer["review"]["shear"])
        EXPECT_NE(shear.find("V＝" + figure(v, "V", 1) + (v["ok"].get<bool>() ? " ≤ Vc 满足" : " ＞ Vc 不满足")),
                  std::string::npos)
            << shear;
    EXPECT_TRUE(IsWindowVisible(program.control(review, win32::kReviewWarningsId)));
    EXPECT_TRUE(program.text(review, win32::kReviewWarningsId).starts_with("审图提示：GB/T 1499.2-2018：HRB335"))
        << program.text(review, win32::kReviewWarningsId);
    // The four buttons' figures for the same wall, worked on a copy: Form1's fields keep theirs.
    const nlohmann::json buttons = cli(L"--set Text4=250 strength crack");
    const std::string compare = program.text(review, win32::kReviewCompareId);
    for (Field field : {Field::Text5, Field::Text6, Field::Text7, Field::Text8, Field::Text15})
        EXPECT_NE(compare.find("＝" + buttons["fields"][std::string(fieldName(field))].get<std::string>() + " "),
                  std::string::npos)
            << compare;
    EXPECT_EQ(program.text(form, fieldId(Field::Text5)), "100");

    // A fixed top slab adds the top section; a refused option text greys the results and says why.
    const HWND support = program.control(review, win32::kReviewOptionBase + 1);
    SendMessageW(support, CB_SETCURSEL, 1, 0);
    SendMessageW(review, WM_COMMAND, MAKEWPARAM(win32::kReviewOptionBase + 1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(support));
    EXPECT_TRUE(testing::waitFor([&] { return !cell(form::kRowMuls, 2).empty(); }, 10));
    EXPECT_TRUE(program.title(form).find("*") != std::string::npos) << program.title(form);
    program.setText(review, win32::kReviewOptionBase + 2, "-1");
    EXPECT_TRUE(testing::waitFor([&] { return status().starts_with("输入被拒绝"); }, 10)) << status();
    EXPECT_FALSE(
        IsWindowEnabled(program.control(review, win32::kReviewCellBase + form::kRowMuls * win32::kReviewColumns)));
    EXPECT_FALSE(IsWindowEnabled(program.control(review, win32::kReviewReportId)));
}

}  // namespace
}  // namespace wallcalc

namespace wallcalc {
namespace {

class ExportOnWindows : public testing::WordStandInTest {};

TEST_F(ExportOnWindows, HandsTheReportToWordOnAWorkerThreadAndACancelledPressEndsQuietly) {
    // A Word that hangs is given up after 3 s.
    SetEnvironmentVariableW(L"WALLCALC_OFFICE_DEADLINE_MS", L"3000");
    Program program(exe());
    const HWND form = program.form();
    ASSERT_NE(form, nullptr);

    // 计算书保存 of the report box as it opens is refused: that text is no report of these inputs,
    // and Word is never asked.
    const fs::path log = useMode("ok");
    const Box refused = program.pressForBox(form, commandId(3));
    ASSERT_TRUE(refused);
    EXPECT_NE(refused.text.find("请先按“生成计算书”"), std::string::npos) << refused.text;
    refused.press(IDOK);
    program.settle();
    EXPECT_FALSE(fs::exists(fs::path(log) += ".doc"));

    // A report the engineer typed is theirs: Word gets a new document holding it.
    program.setText(form, fieldId(Field::Text29), "计算书（手写）");
    program.press(form, commandId(3));
    EXPECT_EQ(lines(fs::path(log) += ".doc"), std::vector<std::string>{"计算书（手写）"});
    EXPECT_EQ(logOf(log, 1).front(), "create Application");

    // A Word that does not answer: the busy note shows, 取消 closes it, and the press ends
    // without a fault box, the fields as they were.
    useMode("hang Documents 4000");
    const Box note = program.pressForBox(form, commandId(3));
    ASSERT_TRUE(note);
    EXPECT_EQ(note.text, "正在打开文字处理软件……");
    note.press(IDCANCEL);
    program.settle();
    EXPECT_FALSE(program.waitForBox(1.5));
    EXPECT_TRUE(program.running());
    EXPECT_EQ(program.text(form, fieldId(Field::Text29)), "计算书（手写）");
    SetEnvironmentVariableW(L"WALLCALC_OFFICE_DEADLINE_MS", nullptr);
}

}  // namespace
}  // namespace wallcalc
