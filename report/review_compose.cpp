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
#include "review/section.h"

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

// The quantities printed with one text wherever they appear (a moment reads the same in every
// line), and their digits to start from; a line that does not add up with them asks for more.
constexpr std::pair<std::string_view, int> kPinned[] = {{"MG", 5},   {"MQ", 5},   {"MGsls", 5}, {"MQsls", 5},
                                                        {"Muls", 5}, {"Msls", 5}, {"V", 4}};
using Pins = std::map<std::pair<int, std::string>, int>;

class Values {
public:
    // The section (or support) whose values are set; pinned digits are kept per scope.
    void setScope(int scope) { scope_ = scope; }
    int scope() const { return scope_; }
    void usePins(Pins* pins) { pins_ = pins; }
    // The digits of a pinned quantity in the current scope; 0 for a quantity not pinned.
    int pinned(std::string_view name) const {
        for (const auto& [pinnedName, digits] : kPinned)
            if (pinnedName == name) {
                if (!pins_) return digits;
                auto it = pins_->find({scope_, std::string(name)});
                return it == pins_->end() ? digits : it->second;
            }
        return 0;
    }
    void morePrecise(std::string_view name) {
        if (pins_) (*pins_)[{scope_, std::string(name)}] = pinned(name) + 1;
    }

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
    int scope_ = 0;
    Pins* pins_ = nullptr;
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
// until the printed formula over the printed operands gives the printed result; a pinned
// quantity keeps its digits, and a line that cannot add up without more of them names them.
struct Composed {
    std::string text;
    std::vector<std::string_view> pinnedOperands;  // empty when the line adds up
};
Composed composeLine(const Line& line, const Values& values) {
    const std::vector<Slot> slots = slotsOf(line.text);
    // The slots between the second and the third "＝" are the operands, the next one the result.
    std::size_t operandsFrom = std::string_view::npos, operandsTo = std::string_view::npos;
    if (line.check) {
        std::size_t first = line.text.find(kEquals);
        operandsFrom = line.text.find(kEquals, first + kEquals.size());
        operandsTo = line.text.find(kEquals, operandsFrom + kEquals.size());
    }
    std::string text;
    bool addsUp = !line.check;
    std::vector<std::string_view> pinnedOperands;
    for (int extra = 0; extra <= 8; ++extra) {
        text.clear();
        pinnedOperands.clear();
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
            const int pinned = values.pinned(slot.name);
            if (pinned && operand) pinnedOperands.push_back(slot.name);
            const std::string ascii = numberText(value, pinned                       ? pinned
                                                        : slot.digits > 0 && operand ? slot.digits + extra
                                                                                     : slot.digits);
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
        if (std::fabs(recomputed - result) <= 0.5 * unit + 1e-9 * std::fabs(result)) {
            addsUp = true;
            break;
        }
    }
    if (addsUp) pinnedOperands.clear();
    if (const std::string bound = boundText(line.bound, values); !bound.empty()) {
        // Before a closing citation, if the line ends with one.
        const std::string_view close = "）";
        std::size_t at = text.size();
        if (text.ends_with(close)) at = text.rfind("（");
        text.insert(at, bound);
    }
    return {text, pinnedOperands};
}

std::string candidateText(const review::Candidate& c) {
    return "Φ" + std::to_string(c.d) + "@" + std::to_string(c.s) + "（As,p＝" + numberText(c.AsP, 4) + " mm²，wmax＝" +
           numberText(c.w, 3) + " mm）";
}

std::string_view modelWord(review::Support model) {
    return model == review::Support::Fixed ? "顶板固接模型" : "顶板铰接模型";
}

// A combination of the edition's row as the report writes it: "1.3G + 1.5Q" → "1.3·MG＋1.5·MQ".
std::string combinationText(std::string_view row, std::string_view G, std::string_view Q) {
    std::string out;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row.compare(i, 3, " + ") == 0) {
            out += "＋";
            i += 2;
        } else if (row[i] == 'G') {
            out += "·" + std::string(G);
        } else if (row[i] == 'Q') {
            out += "·" + std::string(Q);
        } else {
            out += row[i];
        }
    }
    return out;
}

std::string ulsFormula(const review::Edition& ed) {
    if (ed.ulsCount == 1) return "γ0·(" + combinationText(ed.uls[0].text, "MG", "MQ") + ")";
    return "γ0·max(" + combinationText(ed.uls[0].text, "MG", "MQ") + ", " +
           combinationText(ed.uls[1].text, "MG", "MQ") + ")";
}

unsigned wallFlags(const Result& r) {
    const review::Edition& ed = *r.edition;
    unsigned flags = 0;
    if (ed.crackMoment == review::CrackMoment::QuasiPermanent) flags |= kQuasiPermanent;
    if (ed.ulsCount > 1) flags |= kTwoCombinations;
    if (!ed.codes[2].empty()) flags |= kThirdCode;
    if (r.support == review::Support::Fixed) flags |= kFixed;
    if (r.support == review::Support::Envelope) flags |= kEnvelope;
    if (r.storeys.size() > 1) flags |= kStoreys;
    if (r.H > 0) flags |= kBelowGround;
    if (r.concrete->grade > 50) flags |= kHighGrade;
    if (r.barsOut == r.barsIn) flags |= kSameBars;
    if (r.crackCoverOut != r.options.coverOut) flags |= kCrackCover;
    if (r.h1Sls != r.h1) flags |= kSlsWater;
    if (!r.shear.empty() && r.shear.front().h0 > 800) flags |= kBetaH;
    if (r.ok) flags |= kAllOk;
    if (!r.warnings.empty()) flags |= kWarnings;
    return flags;
}

unsigned sectionFlags(const Section& s, const Result& r) {
    unsigned flags = 0;
    if (s.kind != review::SectionKind::Span) flags |= kSupport;
    if (s.Muls == 0 && s.Msls == 0) flags |= kNoSagging;
    if (2 * s.alphaS >= 1) flags |= kAlphaTooBig;
    if (s.xi && !s.As && 2 * s.alphaS < 1) flags |= kXiTooBig;
    if (s.As) flags |= kHasAs;
    if (s.given.ok) flags |= kGivenOk;
    if (s.given.sigmaS == 0) flags |= kSigmaZero;
    if (!s.choice.empty()) flags |= kHasChoice;
    if (s.given.w <= s.wlim) flags |= kWidthOk;
    if (s.AsReq && s.given.AsP >= *s.AsReq) flags |= kStrengthOk;
    if (s.given.bars.size() > 1) flags |= kTwoBars;
    if (!s.As || s.given.sigmaS > r.steel->fy) flags |= kNoCrack;
    if (s.face == review::Face::Soil && s.crackCover != s.cover) flags |= kCrackFace;
    return flags;
}

void setSection(Values& v, const Section& s, int number, const Result& r) {
    v.setScope(number);
    v.set("n", number);
    v.word("secName", review::sectionTitle(s, r.storeys.size()));
    v.word("face", s.face == review::Face::Inner ? "内侧" : "外侧（迎土面）");
    v.word("model", std::string(modelWord(s.model)));
    v.word("bars", review::barsDrawn(s.given.bars));
    v.set("x", s.x);
    v.set("MG", s.MG);
    v.set("MQ", s.MQ);
    v.set("Muls", s.Muls);
    v.set("Msls", s.Msls);
    v.set("xSls", s.xSls);
    v.set("MGsls", s.MGsls);
    v.set("MQsls", s.MQsls);
    v.set("c", s.cover);
    v.set("cc", s.crackCover);
    v.set("wlim", s.wlim);
    v.set("h0", s.h0);
    v.set("alphaS", s.alphaS);
    v.set("xi", s.xi.value_or(0));
    v.set("As", s.As.value_or(0));
    v.set("AsReq", s.AsReq.value_or(0));
    v.set("AsP", s.given.AsP);
    v.set("gh0", s.given.h0);
    v.set("dmax", s.given.dMax);
    for (std::size_t i = 0; i < 2; ++i) {
        const review::Bar bar = i < s.given.bars.size() ? s.given.bars[i] : review::Bar{};
        v.set(i == 0 ? "d1" : "d2", bar.d);
        v.set(i == 0 ? "s1" : "s2", bar.s);
        v.set(i == 0 ? "n1" : "n2", bar.s > 0 ? 1000 / bar.s : 0);
    }
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

// The section of a support, for its title.
const Section* sectionAt(const Result& r, const review::Shear& shear) {
    for (const Section& s : r.sections)
        if (s.kind == shear.kind && s.storey == shear.storey) return &s;
    return nullptr;
}

std::string supportTitle(const Result& r, const review::Shear& shear) {
    if (const Section* s = sectionAt(r, shear)) return review::sectionTitle(*s, r.storeys.size());
    Section top;  // a pinned top slab has no section of its own
    top.kind = shear.kind;
    top.storey = shear.storey;
    return review::sectionTitle(top, r.storeys.size());
}

void setShear(Values& v, const review::Shear& shear, int number, const Result& r) {
    v.setScope(1000 + number);
    v.word("secName", supportTitle(r, shear));
    v.set("x", shear.x);
    v.set("fG", shear.factorG);
    v.set("fQ", shear.factorQ);
    v.set("VG", shear.VG);
    v.set("VQ", shear.VQ);
    v.set("V", shear.V);
    std::string where;
    for (int i = 0; i < r.edition->ulsCount; ++i)
        if (r.edition->uls[i].G == shear.factorG && r.edition->uls[i].Q == shear.factorQ)
            where = std::string(r.edition->uls[i].text);
    if (r.support == review::Support::Envelope) where += "，" + std::string(modelWord(shear.model));
    where += shear.below ? "，支座下方" : "，支座上方";
    v.word("where", where);
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
    v.word("editionTitle", std::string(ed.title));
    v.word("code0", std::string(ed.codes[0]));
    v.word("code1", std::string(ed.codes[1]));
    v.word("code2", std::string(ed.codes[2]));
    v.word("codeConcrete", std::string(ed.designCode));
    v.word("minClause", std::string(ed.minSteelClause));
    v.word("factorClause", std::string(ed.combinationClause));
    v.word("shearClause", std::string(ed.shearClause));
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
    v.word("eqShear", equation(ed.eqShear));
    v.word("eqBetaH", equation(ed.eqBetaH));
    v.word("msName", std::string(ed.crackSymbol));
    v.word("steel", std::string(steel.name));
    v.word("ulsFormula", ulsFormula(ed));
    v.set("fG1", ed.uls[0].G);
    v.set("fQ1", ed.uls[0].Q);
    v.set("fG2", ed.uls[1].G);
    v.set("fQ2", ed.uls[1].Q);
    v.word("beamWord", r.storeys.size() > 1 ? "连续梁" : "单跨梁");
    std::string storeys;
    for (std::size_t i = 0; i < r.storeys.size(); ++i)
        storeys +=
            (i ? "、" : "") + std::string("第") + std::to_string(i + 1) + "层 " + numberText(r.storeys[i], 6) + " m";
    v.word("storeysText", storeys);
    v.set("spanCount", static_cast<double>(r.storeys.size()));
    v.word("barsOut", review::barsDrawn(r.barsOut));
    v.word("barsIn", review::barsDrawn(r.barsIn));
    v.set("maxBar", steel.maxBar > 0 ? std::min(steel.maxBar, 25) : 25);
    v.set("acr", r.edition->alphaCr);
    v.set("H", r.H);
    v.set("L", r.L);
    v.set("Ltot", r.Ltot);
    v.set("topZ", r.H - r.Ltot);
    v.set("h1", r.h1);
    v.set("h1Sls", r.h1Sls);
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
    v.set("crackCoverOut", r.crackCoverOut);
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
    v.set("eQ", r.loads.Q.empty() ? 0 : r.loads.Q.back().e);
    const review::Shear* firstShear = r.shear.empty() ? nullptr : &r.shear.front();
    v.set("sh0", firstShear ? firstShear->h0 : 0);
    v.set("sh0c", firstShear ? std::clamp(firstShear->h0, 800.0, 2000.0) : 0);
    v.set("sdmax", review::largestBar(r.barsOut));
    v.set("betaH", firstShear ? firstShear->betaH : 1);
    v.set("Vc", firstShear ? firstShear->Vc : 0);
    std::string failing;
    for (const Section& s : r.sections)
        if (!s.given.ok) failing += (failing.empty() ? "" : "、") + review::sectionTitle(s, r.storeys.size()) + "配筋";
    for (const review::Shear& shear : r.shear)
        if (!shear.ok) failing += (failing.empty() ? "" : "、") + supportTitle(r, shear) + "受剪";
    v.word("failing", failing);

    const unsigned wall = wallFlags(r);
    Pins pins;
    v.usePins(&pins);
    std::vector<std::string> out;
    bool addsUp = true;
    auto emit = [&](Block block, unsigned flags) {
        for (const Line& line : lines())
            if (line.block == block && (flags & line.need) == line.need && (flags & line.veto) == 0) {
                Composed composed = composeLine(line, v);
                for (std::string_view name : composed.pinnedOperands) {
                    v.morePrecise(name);
                    addsUp = false;
                }
                out.push_back(std::move(composed.text));
            }
    };
    auto knots = [&](const std::vector<review::Knot>& list, Block block, double h1) {
        v.set("h1", h1);
        for (const review::Knot& knot : list) {
            v.set("z", knot.z);
            v.set("e", knot.e);
            unsigned flags = wall;
            if (knot.z <= 0) flags |= kAboveGround;
            if (knot.z > h1) flags |= kBelowWater;
            emit(block, flags);
        }
        v.set("h1", r.h1);
    };
    // Composed again, with more digits for a pinned quantity, until every line adds up.
    for (int round = 0; round < 16; ++round) {
        out.clear();
        addsUp = true;
        v.setScope(0);
        for (Block block : {Block::Head, Block::Codes, Block::Inputs, Block::Loads}) emit(block, wall);
        knots(r.loads.G, Block::LoadsG, r.h1);
        emit(Block::LoadsQ, wall);
        if (wall & kSlsWater) {
            emit(Block::LoadsSlsIntro, wall);
            knots(r.loads.Gsls, Block::LoadsG, r.h1Sls);
        }
        emit(Block::LoadsEnd, wall);
        emit(Block::Model, wall);
        int number = 0;
        for (const Section& s : r.sections) {
            setSection(v, s, ++number, r);
            emit(Block::Moments, wall | sectionFlags(s, r));
        }
        v.setScope(0);
        emit(Block::Design, wall);
        number = 0;
        for (const Section& s : r.sections) {
            setSection(v, s, ++number, r);
            emit(Block::Section, wall | sectionFlags(s, r));
        }
        v.setScope(0);
        emit(Block::ShearIntro, wall);
        number = 0;
        for (const review::Shear& shear : r.shear) {
            setShear(v, shear, ++number, r);
            emit(Block::Shear, wall | (shear.ok ? kShearOk : 0u));
        }
        v.setScope(0);
        emit(Block::ChoiceIntro, wall);
        number = 0;
        for (const Section& s : r.sections) {
            setSection(v, s, ++number, r);
            emit(Block::Choice, wall | sectionFlags(s, r));
        }
        v.setScope(0);
        emit(Block::WarningIntro, wall);
        number = 0;
        for (const review::Warning* warning : r.warnings) {
            v.set("n", ++number);
            v.word("warning", std::string(warning->rule));
            v.word("warningCode", std::string(warning->code));
            emit(Block::Warning, wall);
        }
        emit(Block::Conclusion, wall);
        emit(Block::Signatures, wall);
        if (addsUp) break;
    }
    return out;
}

std::string reviewReportText(const Result& result, std::string_view date) {
    std::string text;
    for (const std::string& line : reviewReportLines(result, date)) text += line + "\r\n";
    return text;
}

}  // namespace wallcalc
