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

void setEdition(Options& options, std::string_view word) { options.edition = std::string(word); }
std::string editionWord(const Options& options) { return options.edition; }
void setSupport(Options& options, std::string_view word) {
    options.support = word == "fixed" ? Support::Fixed : Support::Propped;
}
std::string supportWord(const Options& options) { return options.support == Support::Fixed ? "fixed" : "propped"; }

constexpr std::array<OptionSpec, 13> kOptions{{
    {.key = "edition",
     .name = "规范版本",
     .caption = "规范版本",
     .words = {{{"current", "现行规范"}, {"2002", "2002版规范"}}},
     .setWord = setEdition,
     .word = editionWord},
    {.key = "support",
     .name = "顶板支承",
     .caption = "计算模型（底板固接）",
     .words = {{{"propped", "顶板铰接"}, {"fixed", "顶板固接"}}},
     .captionsInMessages = true,
     .setWord = setSupport,
     .word = supportWord},
    {"gamma0", "结构重要性系数γ0", "结构重要性系数 γ0", "", &Options::gamma0, OptionBound::NotNegative, 0.9, 1.1},
    {"K0", "静止土压力系数K0", "静止土压力系数 K0", "", &Options::K0, OptionBound::NotNegative, 0.2, 1.0},
    {"gamma", "土的重度γ", "土的重度 γ", "kN/m³", &Options::gamma, OptionBound::NotNegative, 14, 25},
    {"gamma_sub", "土的浮重度γ′", "浮重度 γ′", "kN/m³", &Options::gammaSub, OptionBound::NotNegative, 5, 15},
    {"gamma_w", "水的重度γw", "水的重度 γw", "kN/m³", &Options::gammaW, OptionBound::NotNegative, 9, 11},
    {"psi_q", "堆载准永久值系数ψq", "堆载准永久值系数 ψq", "", &Options::psiQ, OptionBound::NotNegative, 0, 1},
    {"cover_out", "外侧（迎土面）保护层厚度", "外侧保护层 c", "mm", &Options::coverOut, OptionBound::NotNegative, 15,
     100},
    {"cover_in", "内侧保护层厚度", "内侧保护层 c", "mm", &Options::coverIn, OptionBound::NotNegative, 15, 100},
    {"dh", "水平分布筋直径dh", "外侧水平筋直径 dh", "mm", &Options::dh, OptionBound::NotNegative, 0, 40},
    {"wlim_out", "外侧裂缝宽度限值", "外侧裂缝限值 wlim", "mm", &Options::wlimOut, OptionBound::Positive, 0.1, 0.4},
    {"wlim_in", "内侧裂缝宽度限值", "内侧裂缝限值 wlim", "mm", &Options::wlimIn, OptionBound::Positive, 0.1, 0.4},
}};

// The words of the edition are the keys of the edition table.
static_assert([] {
    const OptionSpec& edition = kOptions[0];
    if (edition.key != "edition" || edition.words.size() != kEditions.size()) return false;
    for (const OptionWord& word : edition.words)
        if (!findEdition(word.text)) return false;
    return true;
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
        if (word.text == value) return;
        // A full-width bracket needs no space before the next word's 或.
        if (!allowed.empty()) allowed += option.captionsInMessages ? "或 " : " 或 ";
        allowed += word.text;
        if (option.captionsInMessages) allowed += "（" + std::string(word.caption) + "）";
    }
    fault(optionName(option) + "只能是 " + allowed + "，而给定的是" + quoted(value));
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

// ---- sections -----------------------------------------------------------------------------

// The ULS moment at a support from the unfactored moments: the larger combination (a tie to
// the first).
void supportMoments(Section& section, const Edition& edition, const Options& options, double slsQ) {
    int best = 0;
    double largest = 0;
    for (int i = 0; i < edition.ulsCount; ++i) {
        const Combination& c = edition.uls[i];
        const double M = c.G * section.MG + c.Q * section.MQ;
        if (i == 0 || M > largest) best = i, largest = M;
    }
    section.factorG = edition.uls[best].G;
    section.factorQ = edition.uls[best].Q;
    section.combination = edition.uls[best].text;
    section.Muls = options.gamma0 * largest;
    section.xSls = section.x;
    section.MGsls = section.MG;
    section.MQsls = section.MQ;
    section.Msls = section.MG + slsQ * section.MQ;
}

struct SpanPeak {
    double x = 0, MG = 0, MQ = 0, M = 0;
};

// The largest sagging moment of γG·G + γQ·Q, found where the combination's shear is zero.
SpanPeak spanPeak(const SpanLoads& loads, const beam::Actions& G, const beam::Actions& Q, double a, double b) {
    const beam::Load load = beam::combine(a, loads.G, b, loads.Q);
    const beam::Peak peak = beam::largestMoment(load, beam::combine(a, G, b, Q));
    SpanPeak out{peak.x, beam::momentAt(loads.G, G, peak.x), beam::momentAt(loads.Q, Q, peak.x), 0};
    out.M = a * out.MG + b * out.MQ;
    return out;
}

void spanMoments(Section& section, const SpanLoads& loads, const beam::Actions& G, const beam::Actions& Q,
                 const Edition& edition, const Options& options, double slsQ, double L) {
    int best = 0;
    SpanPeak largest;
    for (int i = 0; i < edition.ulsCount; ++i) {
        const SpanPeak peak = spanPeak(loads, G, Q, edition.uls[i].G, edition.uls[i].Q);
        if (i == 0 || peak.M > largest.M) best = i, largest = peak;
    }
    section.factorG = edition.uls[best].G;
    section.factorQ = edition.uls[best].Q;
    section.combination = edition.uls[best].text;
    if (largest.M > 0) {
        section.x = largest.x;
        section.MG = largest.MG;
        section.MQ = largest.MQ;
        section.Muls = options.gamma0 * largest.M;
    } else {
        section.x = L / 2;
    }
    const SpanPeak service = spanPeak(loads, G, Q, 1, slsQ);
    if (service.M > 0) {
        section.xSls = service.x;
        section.MGsls = service.MG;
        section.MQsls = service.MQ;
        section.Msls = service.M;
    } else {
        section.xSls = L / 2;
    }
}

// The given bars, the steel the section needs and the choice of bars.
void design(Section& section, const Result& r, double d, double s) {
    const Concrete& concrete = *r.concrete;
    const Steel& steel = *r.steel;
    const double dh = r.options.dh;

    section.h0 = effectiveDepth(r.t, section.cover, dh, d);
    const Flexure f = flexure(section.Muls, section.h0, concrete, steel, r.xiB);
    section.alphaS = f.alphaS;
    section.xi = f.xi;
    section.As = f.As;
    section.AsMin = r.rhoMin * kStripWidth * r.t;
    if (f.As)
        section.AsReq = std::max(*f.As, section.AsMin);
    else
        section.note = "截面不足";

    GivenBars& given = section.given;
    given.d = d;
    given.s = s;
    given.h0 = section.h0;
    given.AsP = barArea(d, s);
    const CrackWidth crack = crackWidth(section.Msls, section.h0, given.AsP, d, r.t, boundedCover(section.cover, dh),
                                        concrete, steel, r.edition->alphaCr);
    given.sigmaS = crack.sigmaS;
    given.rhoTe = crack.rhoTe;
    given.psi = crack.psi;
    given.cs = crack.cs;
    given.deq = crack.deq;
    given.w = crack.w;
    given.rhoTeRaw = crack.rhoTeRaw;
    given.psiRaw = crack.psiRaw;
    given.csRaw = section.cover + dh;
    given.ok = section.AsReq && given.AsP >= *section.AsReq && given.w <= section.wlim;

    const Demand demand{section.Muls, section.Msls,  r.t,   section.cover,     dh,
                        section.wlim, section.AsMin, r.xiB, r.edition->alphaCr};
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
    return {r.H, r.L, r.h1, r.p, o.K0, o.gamma, o.gammaSub, o.gammaW};
}

}  // namespace

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
        if (option.isNumber())
            checkBound(option, options.*option.number);
        else
            checkWord(option, option.word(options));
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

    struct Face {
        double cover;
        const char *name, *key;
    };
    for (const Face& face :
         {Face{options.coverOut, "外侧（迎土面）", "cover_out"}, Face{options.coverIn, "内侧", "cover_in"}}) {
        const double h0 = effectiveDepth(r.t, face.cover, options.dh, d);
        if (!(h0 > 0))
            fault(std::string("复核：") + face.name + "有效高度 h0 = 墙厚 Text4 − 保护层 " + face.key +
                  " − dh − 钢筋直径 Text17/2 = " + shortest(h0) + " mm，不大于0");
    }

    r.rhoMin = minimumRatio(*r.concrete, *r.steel);
    r.xiB = balancedDepth(*r.concrete, *r.steel);
    r.slsFactorQ = r.edition->crackMoment == CrackMoment::QuasiPermanent ? options.psiQ : 1.0;

    // Loads and the beam under G and Q alone.
    const Site site = siteOf(r);
    r.loads = loadKnots(site);
    const SpanLoads span = spanLoads(site, r.loads);
    const beam::Actions G = beam::solve(span.G, r.L, r.support);
    const beam::Actions Q = beam::solve(span.Q, r.L, r.support);
    r.beamG = {G.W, G.RA, G.RB, G.Mt, G.Mb};
    r.beamQ = {Q.W, Q.RA, Q.RB, Q.Mt, Q.Mb};

    // The sections: the base slab and the span, and the top slab when it is fixed.
    const bool fixedTop = r.support == Support::Fixed;
    r.sections.resize(fixedTop ? 3 : 2);
    Section& base = r.sections[0];
    base.name = "base";
    base.x = r.L;
    base.MG = G.Mb;
    base.MQ = Q.Mb;
    base.cover = options.coverOut;
    base.wlim = options.wlimOut;
    supportMoments(base, *r.edition, options, r.slsFactorQ);

    Section& middle = r.sections[1];
    middle.name = "span";
    middle.cover = options.coverIn;
    middle.wlim = options.wlimIn;
    spanMoments(middle, span, G, Q, *r.edition, options, r.slsFactorQ, r.L);

    if (fixedTop) {
        Section& top = r.sections[2];
        top.name = "top";
        top.x = 0;
        top.MG = G.Mt;
        top.MQ = Q.Mt;
        top.cover = options.coverOut;
        top.wlim = options.wlimOut;
        supportMoments(top, *r.edition, options, r.slsFactorQ);
    }

    for (Section& section : r.sections) {
        design(section, r, d, s);
        if (!finite(section))
            fault("复核：" + std::string(section.name) +
                  " 截面的计算超出数值范围，请检查底板埋深 Text3、地下室高度 Text9、墙厚 Text4、地面堆载 Text1 与水位 "
                  "Text2 的数值");
    }
    return r;
}

std::vector<DiagramPoint> diagram(const Result& result, int points) {
    std::vector<DiagramPoint> out;
    if (points <= 0 || !result.edition) return out;
    const Site site = siteOf(result);
    const SpanLoads span = spanLoads(site, result.loads);
    const beam::Actions G = beam::solve(span.G, result.L, result.support);
    const beam::Actions Q = beam::solve(span.Q, result.L, result.support);
    const Edition& edition = *result.edition;
    out.reserve(points);
    for (int i = 0; i < points; ++i) {
        DiagramPoint point;
        point.x = points == 1 ? 0 : i == points - 1 ? result.L : result.L * i / (points - 1);
        point.z = result.H - result.L + point.x;
        point.eG = earthAndWater(site, point.z);
        point.eQ = surchargeBelow(site, point.z);
        const double MG = beam::momentAt(span.G, G, point.x), MQ = beam::momentAt(span.Q, Q, point.x);
        double uls = 0;
        for (int c = 0; c < edition.ulsCount; ++c) {
            const double M = edition.uls[c].G * MG + edition.uls[c].Q * MQ;
            if (c == 0 || std::abs(M) > std::abs(uls)) uls = M;
        }
        point.Muls = result.options.gamma0 * uls;
        point.Msls = MG + result.slsFactorQ * MQ;
        out.push_back(point);
    }
    return out;
}

}  // namespace wallcalc::review
