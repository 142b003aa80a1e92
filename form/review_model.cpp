#include "form/review_model.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/guard.h"
#include "form/runner.h"
#include "report/review_book.h"
#include "report/review_compose.h"
#include "review/edition.h"
#include "review/options.h"

namespace wallcalc::form {
namespace {

// A number with up to six significant digits (16, 12.5, 1.23457e+08), as the window has
// always written the bars.
std::string general(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// Bars as drawn, each number with six significant digits: "Φ16@200+Φ14@200".
std::string bars(const review::Bars& drawn) {
    std::string text;
    for (const review::Bar& bar : drawn) text += (text.empty() ? "Φ" : "+Φ") + general(bar.d) + "@" + general(bar.s);
    return text;
}
std::string bars(const review::Candidate& c) { return "Φ" + std::to_string(c.d) + "@" + std::to_string(c.s); }

template <typename Range>
std::string joined(const Range& parts, std::string_view separator) {
    std::string out;
    for (const auto& part : parts) out += (out.empty() ? "" : std::string(separator)) + part;
    return out;
}

}  // namespace

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value)) return general(value);
    char buffer[400];
    // Correctly rounded, an exact tie to even; a tie is then rounded away from zero instead.
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, end);
    char longer[400];
    auto [longEnd, longEc] =
        std::to_chars(longer, longer + sizeof longer, value, std::chars_format::fixed, decimals + 30);
    if (ec != std::errc() || longEc != std::errc()) return text;
    const std::string exact(longer, longEnd);
    const std::size_t cut = exact.size() - 30;  // the first digit past `decimals`
    if (exact[cut] != '5' || exact.find_first_not_of('0', cut + 1) != std::string::npos) return text;
    // The tie went down (to an even digit): step the last digit up, carrying.
    const std::string down = exact.substr(0, decimals == 0 ? cut - 1 : cut);
    if (text != down) return text;
    std::string up = down;
    int at = static_cast<int>(up.size()) - 1;
    for (; at >= 0; --at) {
        if (up[at] == '.') continue;
        if (up[at] == '-') break;
        if (up[at] != '9') {
            ++up[at];
            return up;
        }
        up[at] = '0';
    }
    up.insert(static_cast<std::size_t>(at + 1), "1");
    return up;
}

std::string fixed(const std::optional<double>& value, int decimals) { return value ? fixed(*value, decimals) : "—"; }

std::string sectionWord(const review::Section& section, const review::Result& result) {
    return review::sectionTitle(section, result.storeys.size());
}

std::string crackMomentHeader(std::string_view symbol) {
    std::string header = kResultRowHeaders[kRowMsls];
    header.replace(header.find("%1"), 2, symbol);
    return header;
}

std::string wordCaption(std::string_view key, std::string_view word) {
    if (const review::OptionSpec* option = review::findOption(key))
        for (const review::OptionWord& w : option->words)
            if (w.text == word) return std::string(w.caption);
    return std::string(word);
}

std::array<std::string, kResultRowCount> resultCells(const review::Section& s) {
    std::array<std::string, kResultRowCount> cells;
    cells[kRowX] = fixed(s.x, 3);
    cells[kRowMuls] = fixed(s.Muls, 2);
    cells[kRowMsls] = fixed(s.Msls, 2);
    cells[kRowH0] = fixed(s.h0, 1);
    cells[kRowAs] = s.As ? fixed(s.As, 0) : s.note;
    cells[kRowAsMin] = fixed(s.AsMin, 0);
    cells[kRowAsReq] = fixed(s.AsReq, 0);
    cells[kRowGiven] = bars(s.given.bars);
    cells[kRowAsP] = fixed(s.given.AsP, 0);
    cells[kRowW] = fixed(s.given.w, 3) + (s.given.w > s.wlim ? " ＞ " : " ≤ ") + fixed(s.wlim, 2);
    cells[kRowVerdict] = s.given.ok ? "✔ 满足" : "✘ 不满足";
    cells[kRowChoice] = s.choice.empty() ? "无" : bars(s.choice[0]) + "（" + fixed(s.choice[0].AsP, 0) + "）";
    std::vector<std::string> next;
    for (std::size_t i = 1; i < s.choice.size(); ++i) next.push_back(bars(s.choice[i]));
    cells[kRowNext] = next.empty() ? "—" : joined(next, "，");
    cells[kRowGoverns] = s.governs ? *s.governs : "—";
    return cells;
}

void ReviewModel::recompute() {
    ++reviews_;
    std::optional<std::string> refused;
    const std::optional<std::string> failure = unexpectedFailure([&] {
        try {
            // The options as the document holds them, refused texts included, so that the engine
            // says what is wrong with one.
            const FieldSet fields = document_.fields();
            review::Result result = review::reviewWall(fields, document_.reviewOptions());
            std::vector<review::DiagramPoint> points = review::diagram(result, kDiagramPoints);
            FieldSet copy = fields;
            const std::optional<Fault> oldFault = runGuarded(copy, [](FieldSet& f) {
                strengthCalculation(f);
                crackWidthCheck(f);
            });
            std::string fourButtons = oldFault ? "四个按钮（原算法）：运行时错误 " + std::to_string(oldFault->number) +
                                                     "：" + oldFault->description + "　" + oldFault->what
                                               : "四个按钮（原算法）：M1＝" + copy.text(Field::Text5) + " kN·m，M2＝" +
                                                     copy.text(Field::Text6) + " kN·m，As1＝" +
                                                     copy.text(Field::Text7) + " mm²，As2＝" + copy.text(Field::Text8) +
                                                     " mm²，ωmax＝" + copy.text(Field::Text15) + " mm";
            std::vector<std::string> verdicts;
            for (const review::Section& s : result.sections)
                verdicts.push_back(sectionWord(s, result) + (s.given.ok ? "满足" : "不满足"));
            bool shearOk = true;
            for (const review::Shear& v : result.shear) shearOk = shearOk && v.ok;
            verdicts.push_back(shearOk ? "受剪满足" : "受剪不满足");
            const std::string out = bars(result.barsOut), in = bars(result.barsIn);
            std::string status = "复核完成（" + wordCaption("edition", result.options.edition) + "）：实配" +
                                 (out == in ? out : "外侧" + out + "、内侧" + in) + "　" + joined(verdicts, "，");
            // Everything is worked out: now it is kept.
            result_ = std::move(result);
            points_ = std::move(points);
            fourButtons_ = std::move(fourButtons);
            status_ = std::move(status);
            stale_ = false;
        } catch (const FaultError& error) {
            refused = error.fault().what;
        }
    });
    if (refused) status_ = "输入被拒绝（显示的是上一次有效的结果）：" + *refused;
    if (failure) status_ = "复核失败（显示的是上一次有效的结果）：" + *failure;
    if (refused || failure) stale_ = true;
}

std::string ReviewModel::reviewFigures() const {
    if (!result_) return {};
    std::vector<std::string> summary;
    for (const review::Section& s : result_->sections)
        summary.push_back(sectionWord(s, *result_) + " M＝" + fixed(s.Muls, 2) + " kN·m，As,req＝" + fixed(s.AsReq, 0) +
                          " mm²，w＝" + fixed(s.given.w, 3) + " mm");
    return "本复核：" + joined(summary, "；");
}

std::string ReviewModel::shearFigures() const {
    if (!result_ || result_->shear.empty()) return {};
    const review::Shear& first = result_->shear.front();
    std::vector<std::string> supports;
    for (const review::Shear& v : result_->shear) {
        review::Section at;  // a pinned top slab has no section of its own: named by its kind
        at.kind = v.kind;
        at.storey = v.storey;
        supports.push_back(sectionWord(at, *result_) + " V＝" + fixed(v.V, 1) +
                           (v.ok ? " ≤ Vc 满足" : " ＞ Vc 不满足"));
    }
    std::string text = "受剪（不配箍筋，" + std::string(result_->edition->shearClause) + "）：Vc＝0.7·βh·ft·b·h0＝" +
                       fixed(first.Vc, 1) + " kN/m；" + joined(supports, "；");
    for (const review::Shear& v : result_->shear)
        if (!v.ok) return text + "。需加大墙厚或提高混凝土强度等级";
    return text;
}

std::string ReviewModel::warningsText() const {
    if (!result_ || result_->warnings.empty()) return {};
    std::vector<std::string> rules;
    for (const review::Warning* w : result_->warnings) rules.push_back(std::string(w->rule));
    return "审图提示：" + joined(rules, "；");
}

std::string ReviewModel::reportText(std::string_view date) const {
    if (!result_) return {};
    return reviewReportText(*result_, std::string(date));
}

report::book::Document ReviewModel::book(std::string_view date) const {
    return reviewBook(result_.value(), date, reviewSubject(document_.path()));
}

std::string reviewSubject(std::string_view path) {
    const std::size_t folder = path.find_last_of("/\\");
    const std::string_view name = folder == std::string_view::npos ? path : path.substr(folder + 1);
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

}  // namespace wallcalc::form
