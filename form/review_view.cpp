#include "form/review_view.h"

#include <cstdio>
#include <exception>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/action.h"
#include "core/fault.h"
#include "review/edition.h"
#include "review/options.h"

namespace wallcalc::form {
namespace {

std::string fixedOrDash(const std::optional<double>& value, int decimals) {
    return value ? fixedText(*value, decimals) : "—";
}

std::string shortest(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string bars(double d, double s) { return "Φ" + shortest(d) + "@" + shortest(s); }

std::string wordCaption(std::string_view key, std::string_view text) {
    for (const review::OptionWord& word : review::findOption(key)->words)
        if (word.text == text) return std::string(word.caption);
    return std::string(text);
}

std::array<std::string, kResultRowCount> sectionCells(const review::Section& s) {
    std::array<std::string, kResultRowCount> cells;
    cells[kRowX] = fixedText(s.x, 3);
    cells[kRowMuls] = fixedText(s.Muls, 2);
    cells[kRowMsls] = fixedText(s.Msls, 2);
    cells[kRowH0] = fixedText(s.h0, 1);
    cells[kRowAs] = s.As ? fixedText(*s.As, 0) : s.note;
    cells[kRowAsMin] = fixedText(s.AsMin, 0);
    cells[kRowAsReq] = fixedOrDash(s.AsReq, 0);
    cells[kRowGiven] = bars(s.given.d, s.given.s);
    cells[kRowAsP] = fixedText(s.given.AsP, 0);
    cells[kRowW] = fixedText(s.given.w, 3) + (s.given.w > s.wlim ? " ＞ " : " ≤ ") + fixedText(s.wlim, 2);
    cells[kRowVerdict] = s.given.ok ? "✔ 满足" : "✘ 不满足";
    cells[kRowChoice] =
        s.choice.empty() ? "无" : bars(s.choice[0].d, s.choice[0].s) + "（" + fixedText(s.choice[0].AsP, 0) + "）";
    std::string next;
    for (std::size_t i = 1; i < s.choice.size(); ++i)
        next += (next.empty() ? "" : "，") + bars(s.choice[i].d, s.choice[i].s);
    cells[kRowNext] = next.empty() ? "—" : next;
    cells[kRowGoverns] = s.governs ? *s.governs : "—";
    return cells;
}

// The four buttons' strength calculation and crack check on a copy of the fields.
std::string fourButtonsLine(FieldSet copy) {
    std::optional<Fault> fault;
    try {
        fault = runAtomically(copy, [](FieldSet& f) {
            strengthCalculation(f);
            crackWidthCheck(f);
        });
    } catch (const std::exception& error) {
        fault = Fault{fault_number::kInternalError, "内部错误", error.what()};
    }
    if (fault)
        return "四个按钮（原算法）：运行时错误 " + std::to_string(fault->number) + "：" + fault->description + "　" +
               fault->what;
    return "四个按钮（原算法）：M1＝" + copy.text(Field::Text5) + " kN·m，M2＝" + copy.text(Field::Text6) +
           " kN·m，As1＝" + copy.text(Field::Text7) + " mm²，As2＝" + copy.text(Field::Text8) + " mm²，ωmax＝" +
           copy.text(Field::Text15) + " mm";
}

}  // namespace

std::string sectionWord(std::string_view name) {
    if (name == "base") return "底部支座";
    if (name == "top") return "顶部支座";
    return "跨中";
}

std::string fixedText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string refusedStatus(const std::string& why) { return "输入被拒绝（显示的是上一次有效的结果）：" + why; }

ReviewView reviewOf(const FieldSet& fields, const OptionTextOf& optionText) {
    // Everything is worked out before anything is shown: a refusal anywhere shows nothing new.
    review::Options options;
    for (std::string_view key : review::optionKeys()) review::setOption(options, key, optionText(key));
    ReviewView view;
    view.result = review::reviewWall(fields, options);
    view.points = review::diagram(view.result, kDiagramPoints);
    view.fourButtons = fourButtonsLine(fields);
    for (int row = 0; row < kResultRowCount; ++row) view.rowHeaders[row] = kResultRowHeaders[row];
    std::string& crack = view.rowHeaders[kRowMsls];
    crack.replace(crack.find("%1"), 2, std::string(view.result.edition->crackSymbol));
    std::string verdicts, summary;
    for (const review::Section& s : view.result.sections) {
        view.columns.push_back(sectionWord(s.name));
        view.cells.push_back(sectionCells(s));
        verdicts += (verdicts.empty() ? "" : "，") + sectionWord(s.name) + (s.given.ok ? "满足" : "不满足");
        summary += (summary.empty() ? "" : "；") + sectionWord(s.name) + " M＝" + fixedText(s.Muls, 2) +
                   " kN·m，As,req＝" + fixedOrDash(s.AsReq, 0) + " mm²，w＝" + fixedText(s.given.w, 3) + " mm";
    }
    view.summary = "本复核：" + summary;
    const review::Section& first = view.result.sections.front();
    view.status = "复核完成（" + wordCaption("edition", view.result.options.edition) + "）：实配" +
                  bars(first.given.d, first.given.s) + "　" + verdicts;
    return view;
}

}  // namespace wallcalc::form
