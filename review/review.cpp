#include "review/review.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/fault.h"
#include "core/field_read.h"
#include "numtext/read_error.h"
#include "numtext/strict_reading.h"
#include "review/beam.h"
#include "review/edition.h"
#include "review/loads.h"
#include "review/materials.h"
#include "review/section.h"

namespace wallcalc::review {
namespace {

[[noreturn]] void fault(std::string what) { throw FaultError(fault_number::kInvalidCall, std::move(what)); }

// A text quoted in a message, cut short so that a long text cannot flood it.
std::string quoted(std::string_view text) {
    constexpr std::size_t kMaxBytes = 40;
    if (text.size() <= kMaxBytes) return "“" + std::string(text) + "”";
    std::size_t cut = kMaxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return "“" + std::string(text.substr(0, cut)) + "……”";
}

std::string shortest(double value) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

// ---- options ------------------------------------------------------------------------------

// Splits a text at every `separator`.
std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::optional<double> number(std::string_view text) {
    try {
        return numtext::strictReading(text);
    } catch (const numtext::ReadError&) {
        return std::nullopt;
    }
}

// d@s or d1@s1+d2@s2, every number > 0.
std::optional<Bars> readBars(std::string_view text) {
    const std::vector<std::string_view> terms = split(text, '+');
    if (terms.size() > 2) return std::nullopt;
    Bars bars;
    for (std::string_view term : terms) {
        const std::vector<std::string_view> parts = split(term, '@');
        if (parts.size() != 2) return std::nullopt;
        const std::optional<double> d = number(parts[0]), s = number(parts[1]);
        if (!d || !s || !(*d > 0) || !(*s > 0)) return std::nullopt;
        bars.push_back({*d, *s});
    }
    return bars;
}

bool setBarsOut(Options& options, std::string_view text) {
    options.barsOut = text.empty() ? std::nullopt : readBars(text);
    return text.empty() || options.barsOut;
}
bool setBarsIn(Options& options, std::string_view text) {
    options.barsIn = text.empty() ? std::nullopt : readBars(text);
    return text.empty() || options.barsIn;
}
std::string barsOutText(const Options& options) { return options.barsOut ? barsText(*options.barsOut) : ""; }
std::string barsInText(const Options& options) { return options.barsIn ? barsText(*options.barsIn) : ""; }

// Heights > 0 separated by "/".
bool setStoreys(Options& options, std::string_view text) {
    options.upperStoreys.clear();
    if (text.empty()) return true;
    for (std::string_view part : split(text, '/')) {
        const std::optional<double> height = number(part);
        if (!height || !(*height > 0)) return false;
        options.upperStoreys.push_back(*height);
    }
    return true;
}
std::string storeysText(const Options& options) {
    std::string text;
    for (double height : options.upperStoreys) text += (text.empty() ? "" : "/") + shortest(height);
    return text;
}

// A number ≥ 0 that may be left out.
bool setNotNegative(std::optional<double>& member, std::string_view text) {
    member = text.empty() ? std::nullopt : number(text);
    return text.empty() || (member && *member >= 0);
}
bool setH1Sls(Options& options, std::string_view text) { return setNotNegative(options.h1Sls, text); }
bool setCrackCover(Options& options, std::string_view text) { return setNotNegative(options.crackCoverOut, text); }
std::string h1SlsText(const Options& options) { return options.h1Sls ? shortest(*options.h1Sls) : ""; }
std::string crackCoverText(const Options& options) {
    return options.crackCoverOut ? shortest(*options.crackCoverOut) : "";
}

void setEdition(Options& options, std::string_view word) { options.edition = std::string(word); }
std::string editionWord(const Options& options) { return options.edition; }
void setSupport(Options& options, std::string_view word) {
    for (Support support : {Support::Propped, Support::Fixed, Support::Envelope})
        if (word == supportText(support)) options.support = support;
}
std::string supportWord(const Options& options) { return std::string(supportText(options.support)); }

constexpr std::string_view kBarsForm = "d@s 或 d1@s1+d2@s2（通长＋附加，直径、间距均为大于0的数，mm）";

constexpr std::array<OptionSpec, 18> kOptions{{
    {.key = "edition",
     .name = "规范版本",
     .caption = "规范版本",
     .words = {{{"current", "现行规范"}, {"2002", "2002版规范"}}},
     .setWord = setEdition,
     .word = editionWord},
    {.key = "support",
     .name = "顶板支承",
     .caption = "计算模型（底板固接）",
     .words = {{{"propped", "顶板铰接"}, {"fixed", "顶板固接"}, {"envelope", "两者包络"}}},
     .captionsInMessages = true,
     .setWord = setSupport,
     .word = supportWord},
    {.key = "upper_storeys",
     .name = "上部各层层高",
     .caption = "上部层高",
     .unit = "mm",
     .word = storeysText,
     .setText = setStoreys,
     .form = "自上而下以 / 分隔的层高（mm，大于0），如 3600/3900",
     .byDefault = "none"},
    {"gamma0", "结构重要性系数γ0", "结构重要性系数 γ0", "", &Options::gamma0, OptionBound::NotNegative, 0.9, 1.1},
    {"K0", "静止土压力系数K0", "静止土压力系数 K0", "", &Options::K0, OptionBound::NotNegative, 0.2, 1.0},
    {"gamma", "土的重度γ", "土的重度 γ", "kN/m³", &Options::gamma, OptionBound::NotNegative, 14, 25},
    {"gamma_sub", "土的浮重度γ′", "浮重度 γ′", "kN/m³", &Options::gammaSub, OptionBound::NotNegative, 5, 15},
    {"gamma_w", "水的重度γw", "水的重度 γw", "kN/m³", &Options::gammaW, OptionBound::NotNegative, 9, 11},
    {"psi_q", "堆载准永久值系数ψq", "堆载准永久值系数 ψq", "", &Options::psiQ, OptionBound::NotNegative, 0, 1},
    {.key = "h1_sls",
     .name = "裂缝验算水位深度",
     .caption = "裂缝水位 h1",
     .unit = "m",
     .word = h1SlsText,
     .setText = setH1Sls,
     .form = "不小于0的数（m）",
     .byDefault = "Text2"},
    {"cover_out", "外侧（迎土面）保护层厚度", "外侧保护层 c", "mm", &Options::coverOut, OptionBound::NotNegative, 15,
     100},
    {"cover_in", "内侧保护层厚度", "内侧保护层 c", "mm", &Options::coverIn, OptionBound::NotNegative, 15, 100},
    {.key = "crack_cover_out",
     .name = "外侧裂缝计算保护层厚度",
     .caption = "外侧裂缝 c",
     .unit = "mm",
     .word = crackCoverText,
     .setText = setCrackCover,
     .form = "不小于0的数（mm）",
     .byDefault = "cover_out"},
    {"dh", "水平分布筋直径dh", "外侧水平筋直径 dh", "mm", &Options::dh, OptionBound::NotNegative, 0, 40},
    {.key = "bars_out",
     .name = "外侧（迎土面）竖向钢筋",
     .caption = "外侧竖筋",
     .word = barsOutText,
     .setText = setBarsOut,
     .form = kBarsForm,
     .byDefault = "Text17@Text25"},
    {.key = "bars_in",
     .name = "内侧竖向钢筋",
     .caption = "内侧竖筋",
     .word = barsInText,
     .setText = setBarsIn,
     .form = kBarsForm,
     .byDefault = "Text17@Text25"},
    {"wlim_out", "外侧裂缝宽度限值", "外侧裂缝限值 wlim", "mm", &Options::wlimOut, OptionBound::Positive, 0.1, 0.4},
    {"wlim_in", "内侧裂缝宽度限值", "内侧裂缝限值 wlim", "mm", &Options::wlimIn, OptionBound::Positive, 0.1, 0.4},
}};

// The words of the edition are the keys of the edition table.
static_assert([] {
    const OptionSpec& edition = kOptions[0];
    if (edition.key != "edition") return false;
    std::size_t count = 0;
    for (const OptionWord& word : edition.words) {
        if (word.text.empty()) continue;
        if (!findEdition(word.text)) return false;
        ++count;
    }
    return count == kEditions.size();
}());

std::string optionName(const OptionSpec& option) {
    return "复核选项 " + std::string(option.key) + "（" + std::string(option.name) + "）";
}

void checkBound(const OptionSpec& option, double value) {
    if (option.bound == OptionBound::NotNegative && value < 0)
        fault(optionName(option) + "不能为负数，而给定的是 " + shortest(value));
    if (option.bound == OptionBound::Positive && !(value > 0))
        fault(optionName(option) + "必须大于0，而给定的是 " + shortest(value));
    if (!(value >= option.min && value <= option.max)) {
        const std::string unit = option.unit.empty() ? "" : " " + std::string(option.unit);
        fault(optionName(option) + "应在 " + shortest(option.min) + "～" + shortest(option.max) + unit +
              " 之间，而给定的是 " + shortest(value));
    }
}

// A word of an option of words: one of its words, or a fault that lists them.
void checkWord(const OptionSpec& option, std::string_view value) {
    std::string allowed;
    for (const OptionWord& word : option.words) {
        if (word.text.empty()) continue;
        if (word.text == value) return;
        // A full-width bracket needs no space before the next word's 或.
        if (!allowed.empty()) allowed += option.captionsInMessages ? "或 " : " 或 ";
        allowed += word.text;
        if (option.captionsInMessages) allowed += "（" + std::string(word.caption) + "）";
    }
    fault(optionName(option) + "只能是 " + allowed + "，而给定的是" + quoted(value));
}

void setText(const OptionSpec& option, Options& options, std::string_view value) {
    if (!option.setText(options, value))
        fault(optionName(option) + "应为" + std::string(option.form) + "，而给定的是" + quoted(value));
}

// ---- fields -------------------------------------------------------------------------------

std::string describe(Field field) {
    return "字段 " + std::string(fieldName(field)) + "（" + std::string(fieldCaption(field)) + "）";
}

// The numeric-prefix reading of the four buttons; a number beyond the double range is the
// review's fault 5 like every other impossible input.
double read(const FieldSet& fields, Field field) {
    try {
        return readPrefix(fields, field);
    } catch (const FaultError& error) {
        fault("复核（字段 " + std::string(fieldName(field)) + "）：" + error.fault().what);
    }
}

void requirePositive(const FieldSet& fields, Field field, double value) {
    if (!(value > 0)) fault("复核：" + describe(field) + "必须大于0，而读得的是" + quoted(fields.text(field)));
}
void requireNotNegative(const FieldSet& fields, Field field, double value) {
    if (value < 0) fault("复核：" + describe(field) + "不能为负数，而读得的是" + quoted(fields.text(field)));
}

// ---- the beam models ------------------------------------------------------------------------

// One model of the top slab, solved under G, G of the crack check and Q.
struct Model {
    Support support = Support::Propped;
    beam::Actions G, Gsls, Q;
};

struct Solved {
    WallLoads loads;
    std::vector<Model> models;  // propped, fixed or both (the envelope), in that order
};

Solved solveWall(const Result& r, const Site& site) {
    std::vector<double> supports{0};
    for (double height : r.storeys) supports.push_back(supports.back() + height);
    supports.back() = r.Ltot;
    Solved out{wallLoads(site, r.h1Sls, std::move(supports)), {}};
    std::vector<Support> models;
    if (r.support != Support::Fixed) models.push_back(Support::Propped);
    if (r.support != Support::Propped) models.push_back(Support::Fixed);
    for (Support support : models) {
        const bool fixedTop = support == Support::Fixed;
        Model m{support,
                beam::solve(out.loads.grid, out.loads.G, fixedTop),
                {},
                beam::solve(out.loads.grid, out.loads.Q, fixedTop)};
        m.Gsls = r.h1Sls == r.h1 ? m.G : beam::solve(out.loads.grid, out.loads.Gsls, fixedTop);
        out.models.push_back(std::move(m));
    }
    return out;
}

// ---- sections -----------------------------------------------------------------------------

// The moments at support j: of every ULS combination and model the largest (a tie to the first),
// and of every model the largest crack-check moment; 0 where the wall sags at the support.
void supportMoments(Section& section, int j, const Solved& solved, const Result& r) {
    const Edition& edition = *r.edition;
    bool first = true;
    double largest = 0;
    for (const Model& m : solved.models) {
        if (section.kind == SectionKind::Top && m.support == Support::Propped) continue;
        for (int i = 0; i < edition.ulsCount; ++i) {
            const Combination& c = edition.uls[i];
            const double M = c.G * m.G.M[j] + c.Q * m.Q.M[j];
            if (!first && !(M > largest)) continue;
            first = false;
            largest = M;
            section.model = m.support;
            section.factorG = c.G;
            section.factorQ = c.Q;
            section.combination = c.text;
            section.MG = m.G.M[j];
            section.MQ = m.Q.M[j];
        }
    }
    if (largest > 0) {
        section.Muls = r.options.gamma0 * largest;
    } else {
        section.MG = section.MQ = section.Muls = 0;
    }
    first = true;
    section.xSls = section.x;
    for (const Model& m : solved.models) {
        if (section.kind == SectionKind::Top && m.support == Support::Propped) continue;
        const double M = m.Gsls.M[j] + r.slsFactorQ * m.Q.M[j];
        if (!first && !(M > section.Msls)) continue;
        first = false;
        section.slsModel = m.support;
        section.Msls = M;
        section.MGsls = m.Gsls.M[j];
        section.MQsls = m.Q.M[j];
    }
    if (!(section.Msls > 0)) section.Msls = section.MGsls = section.MQsls = 0;
}

struct SpanPeak {
    double x = 0, MG = 0, MQ = 0, M = 0;
};

// The largest sagging moment of a·G + b·Q in a span, found where the combination's shear is zero.
SpanPeak spanPeak(const beam::Grid& grid, const beam::Load& G, const beam::Actions& AG, const beam::Load& Q,
                  const beam::Actions& AQ, double a, double b, int span) {
    const beam::Term terms[] = {{a, &G, &AG}, {b, &Q, &AQ}};
    const beam::Peak peak = beam::largestMoment(grid, terms, span);
    const beam::Term g[] = {{1, &G, &AG}}, q[] = {{1, &Q, &AQ}};
    SpanPeak out{peak.x, beam::momentAt(grid, g, peak.x), beam::momentAt(grid, q, peak.x), 0};
    out.M = a * out.MG + b * out.MQ;
    return out;
}

void spanMoments(Section& section, int span, const Solved& solved, const Result& r) {
    const Edition& edition = *r.edition;
    const beam::Grid& grid = solved.loads.grid;
    const double middle = (grid.supports[span] + grid.supports[span + 1]) / 2;
    bool first = true;
    SpanPeak largest;
    for (const Model& m : solved.models) {
        for (int i = 0; i < edition.ulsCount; ++i) {
            const Combination& c = edition.uls[i];
            const SpanPeak peak = spanPeak(grid, solved.loads.G, m.G, solved.loads.Q, m.Q, c.G, c.Q, span);
            if (!first && !(peak.M > largest.M)) continue;
            first = false;
            largest = peak;
            section.model = m.support;
            section.factorG = c.G;
            section.factorQ = c.Q;
            section.combination = c.text;
        }
    }
    if (largest.M > 0) {
        section.x = largest.x;
        section.MG = largest.MG;
        section.MQ = largest.MQ;
        section.Muls = r.options.gamma0 * largest.M;
    } else {
        section.x = middle;
    }
    first = true;
    SpanPeak service;
    for (const Model& m : solved.models) {
        const SpanPeak peak = spanPeak(grid, solved.loads.Gsls, m.Gsls, solved.loads.Q, m.Q, 1, r.slsFactorQ, span);
        if (!first && !(peak.M > service.M)) continue;
        first = false;
        service = peak;
        section.slsModel = m.support;
    }
    if (service.M > 0) {
        section.xSls = service.x;
        section.MGsls = service.MG;
        section.MQsls = service.MQ;
        section.Msls = service.M;
    } else {
        section.xSls = middle;
    }
}

// The shear at support j: of every combination, model and side the largest magnitude.
Shear supportShear(const Section& section, int j, const Solved& solved, const Result& r) {
    const Edition& edition = *r.edition;
    const beam::Grid& grid = solved.loads.grid;
    Shear out;
    out.kind = section.kind;
    out.storey = section.storey;
    out.at = section.name;
    out.x = grid.supports[j];
    double largest = -1;
    for (const Model& m : solved.models) {
        const beam::Term g[] = {{1, &solved.loads.G, &m.G}}, q[] = {{1, &solved.loads.Q, &m.Q}};
        for (bool below : {true, false}) {
            if (below ? j == grid.spans() : j == 0) continue;
            const double VG = below ? beam::shearBelow(grid, g, j) : beam::shearAbove(g, j);
            const double VQ = below ? beam::shearBelow(grid, q, j) : beam::shearAbove(q, j);
            for (int i = 0; i < edition.ulsCount; ++i) {
                const Combination& c = edition.uls[i];
                const double V = c.G * VG + c.Q * VQ;
                if (!(std::abs(V) > largest)) continue;
                largest = std::abs(V);
                const double sign = V < 0 ? -1 : 1;
                out.VG = sign * VG;
                out.VQ = sign * VQ;
                out.factorG = c.G;
                out.factorQ = c.Q;
                out.model = m.support;
                out.below = below;
            }
        }
    }
    out.V = r.options.gamma0 * std::max(largest, 0.0);
    return out;
}

struct FaceBars {
    Bars bars;
    double cover = 0, crackCover = 0, wlim = 0;
};

// The given bars, the steel the section needs and the choice of bars.
void design(Section& section, const Result& r, const FaceBars& face) {
    const Concrete& concrete = *r.concrete;
    const Steel& steel = *r.steel;
    const double dh = r.options.dh;
    section.cover = face.cover;
    section.crackCover = face.crackCover;
    section.wlim = face.wlim;

    GivenBars& given = section.given;
    given.bars = face.bars;
    given.dMax = largestBar(face.bars);
    section.h0 = effectiveDepth(r.t, section.cover, dh, given.dMax);
    const Flexure f = flexure(section.Muls, section.h0, concrete, steel, r.xiB);
    section.alphaS = f.alphaS;
    section.xi = f.xi;
    section.As = f.As;
    section.AsMin = r.rhoMin * kStripWidth * r.t;
    if (f.As)
        section.AsReq = std::max(*f.As, section.AsMin);
    else
        section.note = "截面不足";

    given.h0 = section.h0;
    given.AsP = barsArea(face.bars);
    const CrackWidth crack = crackWidth(section.Msls, section.h0, given.AsP, equivalentDiameter(face.bars, steel.nu),
                                        r.t, boundedCover(section.crackCover, dh), concrete, steel, r.edition->alphaCr);
    given.sigmaS = crack.sigmaS;
    given.rhoTe = crack.rhoTe;
    given.psi = crack.psi;
    given.cs = crack.cs;
    given.deq = crack.deq;
    given.w = crack.w;
    given.rhoTeRaw = crack.rhoTeRaw;
    given.psiRaw = crack.psiRaw;
    given.csRaw = section.crackCover + dh;
    given.ok = section.AsReq && given.AsP >= *section.AsReq && given.w <= section.wlim;

    Demand demand;
    demand.Muls = section.Muls;
    demand.Msls = section.Msls;
    demand.t = r.t;
    demand.cover = section.cover;
    demand.crackCover = section.crackCover;
    demand.dh = dh;
    demand.wlim = section.wlim;
    demand.AsMin = section.AsMin;
    demand.xiB = r.xiB;
    demand.alphaCr = r.edition->alphaCr;
    const Choice choice = chooseBars(demand, concrete, steel);
    section.choice.assign(choice.first.begin(), choice.first.begin() + choice.count);
    if (choice.governs) section.governs = std::string(*choice.governs);
}

bool finite(const Section& s) {
    const double values[] = {s.x,       s.Muls,           s.Msls,           s.alphaS,
                             s.AsMin,   s.given.AsP,      s.given.sigmaS,   s.given.rhoTe,
                             s.given.w, s.xi.value_or(0), s.As.value_or(0), s.AsReq.value_or(0)};
    return std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
}

Site siteOf(const Result& r) {
    const Options& o = r.options;
    return {r.H, r.Ltot, r.h1, r.p, o.K0, o.gamma, o.gammaSub, o.gammaW};
}

// ---- warnings -----------------------------------------------------------------------------

bool anyBarOver(const Result& r, double d) {
    for (const Bars* bars : {&r.barsOut, &r.barsIn})
        for (const Bar& bar : *bars)
            if (bar.d > d) return true;
    return false;
}

struct WarningRule {
    Warning warning;
    bool (*applies)(const Result&);
};

constexpr WarningRule kWarningRules[] = {
    {{"t_below_250", "GB 50108-2008 第4.1.7条：防水混凝土结构厚度不应小于250 mm"},
     [](const Result& r) { return r.t < 250; }},
    {{"cover_out_below_50", "GB 50108-2008 第4.1.7条：迎水面钢筋保护层厚度不应小于50 mm"},
     [](const Result& r) { return r.options.coverOut < 50; }},
    {{"concrete_below_C25", "GB 55008-2021 第2.0.2条：钢筋混凝土结构构件的混凝土强度等级不应低于C25"},
     [](const Result& r) { return r.edition->materialWarnings && r.concrete->grade < 25; }},
    {{"steel_500_below_C30",
      "GB 55008-2021 第2.0.2条：采用500 MPa及以上等级钢筋的钢筋混凝土结构构件，混凝土强度等级不应低于C30"},
     [](const Result& r) { return r.edition->materialWarnings && r.steel->fy == 435 && r.concrete->grade < 30; }},
    {{"HRB335_withdrawn", "GB/T 1499.2-2018：HRB335钢筋已不再生产，宜改用HRB400"},
     [](const Result& r) { return r.edition->materialWarnings && r.steel->fy == 300; }},
    {{"HPB300_bar_over_22", "GB/T 1499.1-2017：HPB300光圆钢筋直径不大于22 mm"},
     [](const Result& r) { return r.steel->maxBar > 0 && anyBarOver(r, r.steel->maxBar); }},
};

}  // namespace

std::span<const Warning> warningTable() {
    static const std::vector<Warning> table = [] {
        std::vector<Warning> out;
        for (const WarningRule& rule : kWarningRules) out.push_back(rule.warning);
        return out;
    }();
    return table;
}

std::string_view supportText(Support support) {
    switch (support) {
        case Support::Propped: return "propped";
        case Support::Fixed: return "fixed";
        case Support::Envelope: return "envelope";
    }
    return "";
}

std::string sectionTitle(const Section& section, std::size_t storeys) {
    const std::string storey = "第" + std::to_string(section.storey) + "层";
    switch (section.kind) {
        case SectionKind::Top: return "顶部支座";
        case SectionKind::Span: return storeys > 1 ? storey + "跨中" : "跨中";
        case SectionKind::Slab: return storey + "底楼板支座";
        case SectionKind::Base: return "底部支座";
    }
    return section.name;
}

std::string barsDrawn(const Bars& bars) {
    std::string text;
    for (const Bar& bar : bars) text += (text.empty() ? "Φ" : "+Φ") + shortest(bar.d) + "@" + shortest(bar.s);
    return text;
}

std::string barsText(const Bars& bars) {
    std::string text;
    for (const Bar& bar : bars) text += (text.empty() ? "" : "+") + shortest(bar.d) + "@" + shortest(bar.s);
    return text;
}

// ---- options ------------------------------------------------------------------------------

std::span<const OptionSpec> optionTable() { return kOptions; }

const OptionSpec* findOption(std::string_view key) {
    for (const OptionSpec& option : kOptions)
        if (option.key == key) return &option;
    return nullptr;
}

const std::vector<std::string_view>& optionKeys() {
    static const std::vector<std::string_view> keys = [] {
        std::vector<std::string_view> all;
        for (const OptionSpec& option : kOptions) all.push_back(option.key);
        return all;
    }();
    return keys;
}

void setOption(Options& options, std::string_view key, std::string_view value) {
    const OptionSpec* option = findOption(key);
    if (!option) {
        std::string known;
        for (std::string_view k : optionKeys()) known += (known.empty() ? "" : "、") + std::string(k);
        fault("复核选项" + quoted(key) + "不存在（可用的选项：" + known + "）");
    }
    if (option->isText()) {
        setText(*option, options, value);
        return;
    }
    if (!option->isNumber()) {
        checkWord(*option, value);
        option->setWord(options, value);
        return;
    }
    double number = 0;
    try {
        number = numtext::strictReading(value);
    } catch (const numtext::ReadError&) {
        fault(optionName(*option) + "的值" + quoted(value) + "不是数值");
    }
    checkBound(*option, number);
    options.*option->number = number;
}

std::string optionText(const Options& options, std::string_view key) {
    const OptionSpec* option = findOption(key);
    if (!option) return {};
    return option->isNumber() ? shortest(options.*option->number) : option->word(options);
}

std::string defaultOptionText(std::string_view key) { return optionText(Options{}, key); }

void checkOptions(const Options& options) {
    for (const OptionSpec& option : kOptions) {
        if (option.isNumber()) {
            checkBound(option, options.*option.number);
        } else if (option.isText()) {
            // Read back from its own text: an Options filled in directly keeps the same rules.
            Options scratch;
            setText(option, scratch, option.word(options));
        } else {
            checkWord(option, option.word(options));
        }
    }
}

// ---- the review ---------------------------------------------------------------------------

Result reviewWall(const FieldSet& fields, const Options& options) {
    checkOptions(options);

    Result r;
    r.edition = findEdition(options.edition);
    r.support = options.support;
    r.options = options;
    r.materials = &kMaterials;

    // The fields, in the order their faults are reported.
    const double grade = read(fields, Field::Text10);
    r.concrete = kMaterials.findConcrete(grade);
    if (!r.concrete)
        fault("复核：" + describe(Field::Text10) + "的" + quoted(fields.text(Field::Text10)) +
              "不是混凝土强度等级 C20～C80（20、25、…、80）之一");
    const double fy = read(fields, Field::Text13);
    r.steel = kMaterials.findSteel(fy);
    if (!r.steel)
        fault("复核：" + describe(Field::Text13) + "的" + quoted(fields.text(Field::Text13)) +
              "不是 270（HPB300）、300（HRB335）、360（HRB400）、435（HRB500）之一");
    const double storey = read(fields, Field::Text9);
    r.L = storey / 1000;
    requirePositive(fields, Field::Text9, std::min(storey, r.L));
    r.t = read(fields, Field::Text4);
    requirePositive(fields, Field::Text4, r.t);
    const double d = read(fields, Field::Text17);
    requirePositive(fields, Field::Text17, d);
    const double s = read(fields, Field::Text25);
    requirePositive(fields, Field::Text25, s);
    r.p = read(fields, Field::Text1);
    requireNotNegative(fields, Field::Text1, r.p);
    r.h1 = read(fields, Field::Text2);
    requireNotNegative(fields, Field::Text2, r.h1);
    r.H = read(fields, Field::Text3);

    r.barsOut = options.barsOut.value_or(Bars{{d, s}});
    r.barsIn = options.barsIn.value_or(Bars{{d, s}});
    struct FaceCheck {
        double cover;
        const Bars& bars;
        const char *name, *coverKey, *barsKey;
        bool given;
    };
    for (const FaceCheck& face :
         {FaceCheck{options.coverOut, r.barsOut, "外侧（迎土面）", "cover_out", "bars_out",
                    options.barsOut.has_value()},
          FaceCheck{options.coverIn, r.barsIn, "内侧", "cover_in", "bars_in", options.barsIn.has_value()}}) {
        const double h0 = effectiveDepth(r.t, face.cover, options.dh, largestBar(face.bars));
        if (!(h0 > 0))
            fault(std::string("复核：") + face.name + "有效高度 h0 = 墙厚 Text4 − 保护层 " + face.coverKey +
                  " − dh − 钢筋直径（" + (face.given ? face.barsKey : "Text17") + " 中最大者）/2 = " + shortest(h0) +
                  " mm，不大于0");
    }

    for (double height : options.upperStoreys) {
        r.storeys.push_back(height / 1000);
        if (!(r.storeys.back() > 0))
            fault("复核：复核选项 upper_storeys（上部各层层高）中的 " + shortest(height) + " mm 不足以计算");
    }
    r.storeys.push_back(r.L);
    for (double height : r.storeys) r.Ltot += height;
    r.h1Sls = options.h1Sls.value_or(r.h1);
    r.crackCoverOut = options.crackCoverOut.value_or(options.coverOut);
    r.rhoMin = minimumRatio(*r.concrete, *r.steel);
    r.xiB = balancedDepth(*r.concrete, *r.steel);
    r.slsFactorQ = r.edition->crackMoment == CrackMoment::QuasiPermanent ? options.psiQ : 1.0;

    // Loads, and the wall under G, G of the crack check and Q for each model of the top slab.
    const Site site = siteOf(r);
    r.loads = loadKnots(site);
    Site sls = site;
    sls.h1 = r.h1Sls;
    r.loads.Gsls = loadKnots(sls).G;
    const Solved solved = solveWall(r, site);

    // The sections from the top down; every support also gets its shear.
    const int storeys = static_cast<int>(r.storeys.size());
    const FaceBars soil{r.barsOut, options.coverOut, r.crackCoverOut, options.wlimOut};
    const FaceBars inner{r.barsIn, options.coverIn, options.coverIn, options.wlimIn};
    auto support = [&](SectionKind kind, int storey, std::string name, int j) {
        Section section;
        section.kind = kind;
        section.storey = storey;
        section.name = std::move(name);
        section.face = Face::Soil;
        section.x = solved.loads.grid.supports[j];
        supportMoments(section, j, solved, r);
        design(section, r, soil);
        r.shear.push_back(supportShear(section, j, solved, r));
        r.sections.push_back(std::move(section));
    };
    if (r.support != Support::Propped) {
        support(SectionKind::Top, 0, "top", 0);
    } else {
        Section top;
        top.kind = SectionKind::Top;
        top.name = "top";
        r.shear.push_back(supportShear(top, 0, solved, r));
    }
    for (int i = 1; i <= storeys; ++i) {
        Section span;
        span.kind = SectionKind::Span;
        span.storey = i;
        span.name = "span" + std::to_string(i);
        span.face = Face::Inner;
        spanMoments(span, i - 1, solved, r);
        design(span, r, inner);
        r.sections.push_back(std::move(span));
        if (i < storeys) support(SectionKind::Slab, i, "slab" + std::to_string(i), i);
    }
    support(SectionKind::Base, storeys, "base", storeys);

    // The shear on the concrete alone, with h0 of the soil face.
    const double h0 = effectiveDepth(r.t, options.coverOut, options.dh, largestBar(r.barsOut));
    const double betaH = std::pow(800 / std::clamp(h0, 800.0, 2000.0), 0.25);
    for (Shear& shear : r.shear) {
        shear.h0 = h0;
        shear.betaH = betaH;
        shear.Vc = 0.7 * betaH * r.concrete->ft * kStripWidth * h0 / 1000;
        shear.ok = shear.V <= shear.Vc;
    }

    for (const Section& section : r.sections)
        if (!finite(section))
            fault("复核：" + section.name +
                  " 截面的计算超出数值范围，请检查底板埋深 Text3、地下室高度 Text9、墙厚 Text4、地面堆载 Text1 与水位 "
                  "Text2 的数值");
    for (const Shear& shear : r.shear)
        if (!std::isfinite(shear.V))
            fault(
                "复核：" + shear.at +
                " 支座的剪力超出数值范围，请检查底板埋深 Text3、地下室高度 Text9、地面堆载 Text1 与水位 Text2 的数值");

    for (const WarningRule& rule : kWarningRules)
        if (rule.applies(r)) r.warnings.push_back(&warningTable()[&rule - kWarningRules]);
    r.ok = std::all_of(r.sections.begin(), r.sections.end(), [](const Section& s) { return s.given.ok; }) &&
           std::all_of(r.shear.begin(), r.shear.end(), [](const Shear& s) { return s.ok; });
    return r;
}

std::vector<DiagramPoint> diagram(const Result& result, int points) {
    std::vector<DiagramPoint> out;
    if (points <= 0 || !result.edition) return out;
    const Site site = siteOf(result);
    const Solved solved = solveWall(result, site);
    const Edition& edition = *result.edition;
    const beam::Grid& grid = solved.loads.grid;
    out.reserve(points);
    for (int i = 0; i < points; ++i) {
        DiagramPoint point;
        point.x = points == 1 ? 0 : i == points - 1 ? result.Ltot : result.Ltot * i / (points - 1);
        point.z = result.H - result.Ltot + point.x;
        point.eG = earthAndWater(site, point.z);
        point.eQ = surchargeBelow(site, point.z);
        bool first = true;
        for (const Model& m : solved.models) {
            const beam::Term g[] = {{1, &solved.loads.G, &m.G}}, q[] = {{1, &solved.loads.Q, &m.Q}},
                             gs[] = {{1, &solved.loads.Gsls, &m.Gsls}};
            const double MG = beam::momentAt(grid, g, point.x), MQ = beam::momentAt(grid, q, point.x);
            const double MGs = beam::momentAt(grid, gs, point.x);
            for (int c = 0; c < edition.ulsCount; ++c) {
                const double M = result.options.gamma0 * (edition.uls[c].G * MG + edition.uls[c].Q * MQ);
                if (first || std::abs(M) > std::abs(point.Muls)) point.Muls = M;
                first = false;
            }
            const double Ms = MGs + result.slsFactorQ * MQ;
            if (&m == &solved.models.front() || std::abs(Ms) > std::abs(point.Msls)) point.Msls = Ms;
        }
        out.push_back(point);
    }
    return out;
}

}  // namespace wallcalc::review
