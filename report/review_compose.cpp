#include "report/review_compose.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "report/review_report_table.h"
#include "review/edition.h"
#include "review/materials.h"

#ifndef WALLCALC_VERSION
#define WALLCALC_VERSION "1.0"
#endif

namespace wallcalc {
namespace {

using namespace report::review_report;
using review::Result;
using review::Section;

constexpr std::string_view kEquals = "＝";

// A value in its printed form: exact ("as read", the shortest text that reads back the same)
// or with at least `digits` significant digits, trailing zeros dropped.
std::string numberText(double value, int digits) {
    if (value == 0) return "0";
    char buffer[64];
    if (digits <= 0) {
        auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr;
        return std::string(buffer, end);
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(digits - 1 - magnitude, 0, 12);
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text;
}

// Decimals of a printed number: its last printed digit is 10^-decimals.
int decimalsOf(const std::string& text) {
    const std::size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// Negative numbers in the report take the minus sign; as an operand, in brackets.
std::string shown(const std::string& ascii, bool operand) {
    if (ascii.empty() || ascii[0] != '-') return ascii;
    std::string text = "−" + ascii.substr(1);
    return operand ? "(" + text + ")" : text;
}

class Values {
public:
    void set(std::string_view name, double value) { numbers_[name] = value; }
    void word(std::string_view name, std::string text) { words_[name] = std::move(text); }
    void clear(std::string_view name) {
        numbers_.erase(name);
        words_.erase(name);
    }
    const std::string* findWord(std::string_view name) const {
        auto it = words_.find(name);
        return it == words_.end() ? nullptr : &it->second;
    }
    double number(std::string_view name) const {
        auto it = numbers_.find(name);
        if (it == numbers_.end()) throw std::logic_error("复核计算书：没有数值 " + std::string(name));
        return it->second;
    }

private:
    std::map<std::string_view, double, std::less<>> numbers_;
    std::map<std::string_view, std::string, std::less<>> words_;
};

struct Slot {
    std::size_t begin, end;  // of "{...}" in the text
    std::string_view name;
    int digits;  // 0: as read
};

std::vector<Slot> slotsOf(std::string_view text) {
    std::vector<Slot> slots;
    for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{', at + 1)) {
        const std::size_t close = text.find('}', at);
        std::string_view inside = text.substr(at + 1, close - at - 1);
        int digits = 0;
        if (const std::size_t colon = inside.find(':'); colon != std::string_view::npos) {
            std::from_chars(inside.data() + colon + 1, inside.data() + inside.size(), digits);
            inside = inside.substr(0, colon);
        }
        slots.push_back({at, close + 1, inside, digits});
    }
    return slots;
}

std::string boundText(Bound bound, const Values& values) {
    switch (bound) {
        case Bound::None: break;
        case Bound::RhoTe:
            if (values.number("rhoTeRaw") < 0.01) return "＜0.01，取ρte＝0.01";
            break;
        case Bound::Psi:
            if (values.number("psiRaw") < 0.2) return "＜0.2，取ψ＝0.2";
            if (values.number("psiRaw") > 1.0) return "＞1.0，取ψ＝1.0";
            break;
        case Bound::Cs:
            if (values.number("csRaw") < 20) return "，小于20 mm，取cs＝20 mm";
            if (values.number("csRaw") > 65) return "，大于65 mm，取cs＝65 mm";
            break;
    }
    return {};
}

// One line. For a substituted line the operands are printed with more digits, one at a time,
// until the printed formula over the printed operands gives the printed result.
std::string composeLine(const Line& line, const Values& values) {
    const std::vector<Slot> slots = slotsOf(line.text);
    // The slots between the second and the third "＝" are the operands, the next one the result.
    std::size_t operandsFrom = std::string_view::npos, operandsTo = std::string_view::npos;
    if (line.check) {
        std::size_t first = line.text.find(kEquals);
        operandsFrom = line.text.find(kEquals, first + kEquals.size());
        operandsTo = line.text.find(kEquals, operandsFrom + kEquals.size());
    }
    std::string text;
    for (int extra = 0; extra <= 8; ++extra) {
        text.clear();
        std::vector<double> operands;
        double result = 0;
        int resultDecimals = 0;
        bool resultSeen = false;
        std::size_t from = 0;
        for (const Slot& slot : slots) {
            text.append(line.text.substr(from, slot.begin - from));
            from = slot.end;
            if (const std::string* word = values.findWord(slot.name)) {
                text += *word;
                continue;
            }
            const bool operand = line.check && slot.begin > operandsFrom && slot.begin < operandsTo;
            const bool isResult = line.check && slot.begin > operandsTo && !resultSeen;
            const double value = values.number(slot.name);
            const std::string ascii = numberText(value, slot.digits > 0 && operand ? slot.digits + extra : slot.digits);
            text += shown(ascii, operand);
            if (operand) operands.push_back(std::strtod(ascii.c_str(), nullptr));
            if (isResult) {
                resultSeen = true;
                result = std::strtod(ascii.c_str(), nullptr);
                resultDecimals = decimalsOf(ascii);
            }
        }
        text.append(line.text.substr(from));
        if (!line.check) break;
        const double recomputed = line.check(operands);
        const double unit = std::pow(10.0, -resultDecimals);
        if (std::fabs(recomputed - result) <= 0.5 * unit + 1e-9 * std::fabs(result)) break;
    }
    if (const std::string bound = boundText(line.bound, values); !bound.empty()) {
        // Before a closing citation, if the line ends with one.
        const std::string_view close = "）";
        std::size_t at = text.size();
        if (text.ends_with(close)) at = text.rfind("（");
        text.insert(at, bound);
    }
    return text;
}

std::string_view sectionName(std::string_view name) {
    if (name == "base") return "底部支座";
    if (name == "top") return "顶部支座";
    return "跨中";
}

std::string candidateText(const review::Candidate& c) {
    return "Φ" + std::to_string(c.d) + "@" + std::to_string(c.s) + "（As,p＝" + numberText(c.AsP, 4) + " mm²，wmax＝" +
           numberText(c.w, 3) + " mm）";
}

unsigned wallFlags(const Result& r) {
    unsigned flags = 0;
    if (r.options.edition == "current") flags |= kCurrent;
    if (r.support == review::Support::Fixed) flags |= kFixed;
    if (r.H > 0) flags |= kBelowGround;
    if (r.concrete->grade > 50) flags |= kHighGrade;
    return flags;
}

unsigned sectionFlags(const Section& s) {
    unsigned flags = 0;
    if (s.name != "span") flags |= kSupport;
    if (s.name == "span" && s.Muls == 0 && s.Msls == 0) flags |= kNoSagging;
    if (2 * s.alphaS >= 1) flags |= kAlphaTooBig;
    if (s.xi && !s.As && 2 * s.alphaS < 1) flags |= kXiTooBig;
    if (s.As) flags |= kHasAs;
    if (s.given.ok) flags |= kGivenOk;
    if (s.given.sigmaS == 0) flags |= kSigmaZero;
    if (!s.choice.empty()) flags |= kHasChoice;
    if (s.given.w <= s.wlim) flags |= kWidthOk;
    if (s.AsReq && s.given.AsP >= *s.AsReq) flags |= kStrengthOk;
    return flags;
}

void setSection(Values& v, const Section& s, int number) {
    v.set("n", number);
    v.word("secName", std::string(sectionName(s.name)));
    v.word("face", s.name == "span" ? "内侧" : "外侧（迎土面）");
    v.set("x", s.x);
    v.set("MG", s.MG);
    v.set("MQ", s.MQ);
    v.set("Muls", s.Muls);
    v.set("Msls", s.Msls);
    v.set("xSls", s.xSls);
    v.set("MGsls", s.MGsls);
    v.set("MQsls", s.MQsls);
    v.set("c", s.cover);
    v.set("wlim", s.wlim);
    v.set("h0", s.h0);
    v.set("alphaS", s.alphaS);
    v.set("xi", s.xi.value_or(0));
    v.set("As", s.As.value_or(0));
    v.set("AsReq", s.AsReq.value_or(0));
    v.set("AsP", s.given.AsP);
    v.set("gh0", s.given.h0);
    v.set("sigmaS", s.given.sigmaS);
    v.set("rhoTeRaw", s.given.rhoTeRaw);
    v.set("rhoTe", s.given.rhoTe);
    v.set("psiRaw", s.given.psiRaw);
    v.set("psi", s.given.psi);
    v.set("csRaw", s.given.csRaw);
    v.set("cs", s.given.cs);
    v.set("deq", s.given.deq);
    v.set("w", s.given.w);
    if (!s.choice.empty()) {
        v.set("c1d", s.choice[0].d);
        v.set("c1s", s.choice[0].s);
        v.set("c1AsP", s.choice[0].AsP);
        v.set("c1w", s.choice[0].w);
        std::string others;
        for (std::size_t i = 1; i < s.choice.size(); ++i) others += (i > 1 ? "、" : "") + candidateText(s.choice[i]);
        v.word("others", others.empty() ? "（无）" : others);
        v.word("governs", s.governs.value_or(""));
    }
}

}  // namespace

std::vector<std::string> reviewReportLines(const Result& r, std::string_view date) {
    const review::Edition& ed = *r.edition;
    const review::Concrete& m = *r.concrete;
    const review::Steel& steel = *r.steel;
    const review::Options& o = r.options;
    Values v;
    v.word("program", "地下室外墙计算（wallcalc）");
    v.word("version", WALLCALC_VERSION);
    v.word("date", std::string(date));
    v.word("code0", std::string(ed.codes[0]));
    v.word("code1", std::string(ed.codes[1]));
    v.word("code2", std::string(ed.codes[2]));
    v.word("codeConcrete", std::string(ed.designCode));
    v.word("minClause", std::string(ed.minSteelClause));
    v.word("factorClause", std::string(ed.combinationClause));
    const auto equation = [](std::string_view number) { return "式" + std::string(number); };
    v.word("eqBend1", equation(ed.eqMoment));
    v.word("eqBend2", equation(ed.eqForce));
    v.word("eqBend3", equation(ed.eqLimit));
    v.word("eqXiB", equation(ed.eqXiB));
    v.word("eqEpsCu", equation(ed.eqEpsCu));
    v.word("eqW", equation(ed.eqW));
    v.word("eqPsi", equation(ed.eqPsi));
    v.word("eqDeq", equation(ed.eqDeq));
    v.word("eqRhoTe", equation(ed.eqRhoTe));
    v.word("eqSigma", equation(ed.eqSigma));
    v.word("msName", std::string(ed.crackSymbol));
    v.word("steel", std::string(steel.name));
    v.set("acr", r.edition->alphaCr);
    v.set("H", r.H);
    v.set("L", r.L);
    v.set("topZ", r.H - r.L);
    v.set("h1", r.h1);
    v.set("p", r.p);
    v.set("t", r.t);
    v.set("K0", o.K0);
    v.set("gamma", o.gamma);
    v.set("gammaSub", o.gammaSub);
    v.set("gammaW", o.gammaW);
    v.set("gamma0", o.gamma0);
    v.set("psiQ", o.psiQ);
    v.set("slsQ", r.slsFactorQ);
    v.set("coverOut", o.coverOut);
    v.set("coverIn", o.coverIn);
    v.set("dh", o.dh);
    v.set("wlimOut", o.wlimOut);
    v.set("wlimIn", o.wlimIn);
    v.set("grade", m.grade);
    v.set("fc", m.fc);
    v.set("ft", m.ft);
    v.set("ftk", m.ftk);
    v.set("alpha1", m.alpha1);
    v.set("beta1", m.beta1);
    v.set("epsCu", m.epsCu);
    v.set("fy", steel.fy);
    v.set("EsE5", steel.Es / 1e5);
    v.set("nu", steel.nu);
    v.set("rhoMinPct", r.rhoMin * 100);
    v.set("xiB", r.xiB);
    v.set("AsMin", r.sections.empty() ? 0 : r.sections.front().AsMin);
    v.set("d", r.sections.empty() ? 0 : r.sections.front().given.bars.front().d);
    v.set("s", r.sections.empty() ? 0 : r.sections.front().given.bars.front().s);
    v.set("eQ", r.loads.Q.empty() ? 0 : r.loads.Q.back().e);

    const unsigned wall = wallFlags(r);
    std::vector<std::string> out;
    auto emit = [&](Block block, unsigned flags) {
        for (const Line& line : lines())
            if (line.block == block && (flags & line.need) == line.need && (flags & line.veto) == 0)
                out.push_back(composeLine(line, v));
    };
    for (Block block : {Block::Head, Block::Codes, Block::Inputs, Block::Loads}) emit(block, wall);
    for (const review::Knot& knot : r.loads.G) {
        v.set("z", knot.z);
        v.set("e", knot.e);
        unsigned flags = wall;
        if (knot.z <= 0) flags |= kAboveGround;
        if (knot.z > r.h1) flags |= kBelowWater;
        emit(Block::LoadsG, flags);
    }
    emit(Block::LoadsQ, wall);
    emit(Block::Model, wall);
    int number = 0;
    for (const Section& s : r.sections) {
        setSection(v, s, ++number);
        emit(Block::Moments, wall | sectionFlags(s));
    }
    emit(Block::Design, wall);
    number = 0;
    for (const Section& s : r.sections) {
        setSection(v, s, ++number);
        emit(Block::Section, wall | sectionFlags(s));
    }
    emit(Block::ChoiceIntro, wall);
    number = 0;
    for (const Section& s : r.sections) {
        setSection(v, s, ++number);
        emit(Block::Choice, wall | sectionFlags(s));
    }
    emit(Block::Signatures, wall);
    return out;
}

std::string reviewReportText(const Result& result, std::string_view date) {
    std::string text;
    for (const std::string& line : reviewReportLines(result, date)) text += line + "\r\n";
    return text;
}

}  // namespace wallcalc
