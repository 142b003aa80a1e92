#include "report/review_book.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "report/review_compose.h"
#include "review/edition.h"
#include "review/materials.h"

namespace wallcalc {
namespace {

using namespace report::book;
using review::Result;
using review::Section;

// ---- The wall as the book names it -------------------------------------------------------

std::string sectionWord(const Section& s, const Result& r) { return review::sectionTitle(s, r.storeys.size()); }
bool isSpan(const Section& s) { return s.kind == review::SectionKind::Span; }
// The storeys' heights from the top; the wall's height.
const std::vector<double>& storeysOf(const Result& r) { return r.storeys; }
double wallHeight(const Result& r) { return r.Ltot; }
std::string givenBars(const Section& s) { return review::barsDrawn(s.given.bars); }

// ---- Numbers in tables --------------------------------------------------------------------

// With `digits` significant digits, trailing zeros kept so that a column lines up.
std::string fixed(double value, int digits) {
    if (value == 0) return "0";
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(digits - 1 - magnitude, 0, 6);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text[0] == '-') text = "−" + text.substr(1);
    return text;
}
std::string asRead(double value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string trimmed(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(line.substr(first));
}

// "一、设计依据": a chapter, numbered by a Chinese numeral and "、".
bool isChapter(std::string_view line) {
    static constexpr std::string_view kNumerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
    for (std::string_view numeral : kNumerals)
        if (line.starts_with(numeral) && line.substr(numeral.size()).starts_with("、")) return true;
    return false;
}

// ---- Tables ---------------------------------------------------------------------------------

Table inputsTable(const Result& r, std::vector<std::string> plain) {
    const review::Options& o = r.options;
    Table t{"计算条件", {"项目", "符号", "数值", "单位"}, {}, {false, false, true, false}, std::move(plain)};
    auto row = [&](std::string what, std::string symbol, std::string value, std::string unit) {
        t.rows.push_back({std::move(what), std::move(symbol), std::move(value), std::move(unit)});
    };
    row("底板埋深", "H", asRead(r.H), "m");
    const std::vector<double>& storeys = storeysOf(r);
    for (std::size_t i = 0; i < storeys.size(); ++i)
        row(storeys.size() > 1 ? "第" + std::to_string(i + 1) + "层层高" : "层高", "L", asRead(storeys[i]), "m");
    row("墙厚", "t", asRead(r.t), "mm");
    row("静止土压力系数", "K0", asRead(o.K0), "");
    row("土的重度", "γ", asRead(o.gamma), "kN/m³");
    row("浮重度", "γ′", asRead(o.gammaSub), "kN/m³");
    row("水的重度", "γw", asRead(o.gammaW), "kN/m³");
    row("设防水位深度", "h1", asRead(r.h1), "m");
    row("地面堆载", "p", asRead(r.p), "kN/m²");
    row("准永久值系数", "ψq", asRead(o.psiQ), "");
    row("结构重要性系数", "γ0", asRead(o.gamma0), "");
    row("混凝土 C" + asRead(r.concrete->grade), "fc / ft", asRead(r.concrete->fc) + " / " + asRead(r.concrete->ft),
        "N/mm²");
    row("钢筋 " + std::string(r.steel->name), "fy", asRead(r.steel->fy), "N/mm²");
    if (r.h1Sls != r.h1) row("裂缝验算水位深度", "h1,sls", asRead(r.h1Sls), "m");
    row("保护层厚度（外侧 / 内侧）", "c", asRead(o.coverOut) + " / " + asRead(o.coverIn), "mm");
    row("实配竖向钢筋（外侧 / 内侧）", "", review::barsDrawn(r.barsOut) + " / " + review::barsDrawn(r.barsIn), "");
    row("水平分布筋直径", "dh", asRead(o.dh), "mm");
    row("裂缝宽度限值（外侧 / 内侧）", "wlim", asRead(o.wlimOut) + " / " + asRead(o.wlimIn), "mm");
    return t;
}

// The surcharge at a depth, between its knots.
double surchargeAt(const std::vector<review::Knot>& Q, double z) {
    if (Q.empty()) return 0;
    if (z <= Q.front().z) return z < Q.front().z ? 0 : Q.front().e;
    for (std::size_t i = 1; i < Q.size(); ++i)
        if (z <= Q[i].z) {
            const double span = Q[i].z - Q[i - 1].z;
            return span > 0 ? Q[i - 1].e + (Q[i].e - Q[i - 1].e) * (z - Q[i - 1].z) / span : Q[i].e;
        }
    return Q.back().e;
}

Table loadsTable(const Result& r) {
    Table t{"荷载标准值", {"控制点", "z（m）", "eG（kN/m²）", "eQ（kN/m²）"}, {}, {false, true, true, true}, {}};
    const double topZ = r.H - wallHeight(r);
    auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };
    for (const review::Knot& k : r.loads.G) {
        std::string where;
        double slab = topZ;
        for (std::size_t i = 0; i + 1 < r.storeys.size(); ++i)
            if (near(k.z, slab += r.storeys[i])) where = "楼板";
        if (near(k.z, r.h1)) where = "水位";
        if (near(k.z, 0)) where = "地面";
        if (near(k.z, r.H)) where = "底板";
        if (near(k.z, topZ)) where = "顶板";
        t.rows.push_back({where, fixed(k.z, 4), fixed(k.e, 4), fixed(surchargeAt(r.loads.Q, k.z), 4)});
    }
    return t;
}

Table sectionTable(const Result& r, const Section& s) {
    const std::string ms = r.edition->crackSymbol.empty() ? "Ms" : std::string(r.edition->crackSymbol);
    Table t{sectionWord(s, r), {"项目", "符号", "数值", "单位"}, {}, {false, false, true, false}, {}};
    auto row = [&](std::string what, std::string symbol, std::string value, std::string unit) {
        t.rows.push_back({std::move(what), std::move(symbol), std::move(value), std::move(unit)});
    };
    const std::string none = "—";
    row("设计弯矩", "M", fixed(s.Muls, 4), "kN·m/m");
    row("裂缝验算弯矩", ms, fixed(s.Msls, 4), "kN·m/m");
    row("有效高度", "h0", fixed(s.h0, 4), "mm");
    row("截面抵抗矩系数", "αs", fixed(s.alphaS, 4), "");
    row("相对受压区高度", "ξ", s.xi ? fixed(*s.xi, 4) : none, "");
    row("计算配筋", "As", s.As ? fixed(*s.As, 4) : none, "mm²");
    row("最小配筋", "As,min", fixed(s.AsMin, 4), "mm²");
    row("需要配筋", "As,req", s.AsReq ? fixed(*s.AsReq, 4) : none, "mm²");
    row("实配钢筋 " + givenBars(s), "As,p", fixed(s.given.AsP, 4), "mm²");
    row("裂缝宽度（限值 " + asRead(s.wlim) + " mm）", "wmax", s.As ? fixed(s.given.w, 3) : none, "mm");
    row("结论", "", s.given.ok ? "满足" : "不满足", "");
    if (!s.choice.empty()) {
        const review::Candidate& c = s.choice.front();
        row("推荐配筋", "", "Φ" + std::to_string(c.d) + "@" + std::to_string(c.s), "");
        row("控制因素", "", s.governs.value_or(""), "");
    } else {
        row("推荐配筋", "", "无满足要求的规格", "");
    }
    return t;
}

// One row a support: the shear against the concrete alone.
Table shearTable(const Result& r) {
    Table t{"支座受剪承载力",
            {"支座", "x（m）", "V（kN/m）", "h0（mm）", "βh", "Vc（kN/m）", "结论"},
            {},
            {false, true, true, true, true, true, false},
            {}};
    for (const review::Shear& v : r.shear) {
        std::string name = v.at;
        for (const Section& s : r.sections)
            if (s.kind == v.kind && s.storey == v.storey) name = sectionWord(s, r);
        if (name == v.at) {
            Section support;  // a pinned top slab has no section of its own
            support.kind = v.kind;
            support.storey = v.storey;
            name = sectionWord(support, r);
        }
        t.rows.push_back({name, fixed(v.x, 4), fixed(v.V, 4), fixed(v.h0, 4), fixed(v.betaH, 4), fixed(v.Vc, 4),
                          v.ok ? "满足" : "不满足"});
    }
    return t;
}

Table signatureTable(std::vector<std::string> plain) {
    return Table{"", {"设计", "校对", "审核"}, {{"", "", ""}}, {false, false, false}, std::move(plain)};
}

// ---- Figures --------------------------------------------------------------------------------

constexpr Colour kBlack{0, 0, 0}, kGrey{90, 90, 90}, kEarth{176, 128, 80}, kWater{70, 140, 230},
    kSurcharge{240, 190, 40}, kUls{220, 0, 0}, kSls{0, 90, 200}, kGround{135, 98, 62}, kWaterLine{58, 117, 192};
constexpr double kFigureWidth = 150, kFigureHeight = 100, kText = 2.8;

// The width a label takes: a CJK character is as wide as it is high, a Latin one about half.
double textWidth(std::string_view text, double size) {
    double width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        width += bytes >= 3 ? size : 0.55 * size;
        i += bytes;
    }
    return width;
}

struct Frame {
    double left, top, right, bottom;
    double low = 0, high = 1, inset = 0;
    double height = 1;  // of the wall, m
    double xOf(double value) const {
        const double w = right - left - 2 * inset;
        return left + inset + (value - low) / (high - low) * w;
    }
    double yOf(double x) const { return top + x / height * (bottom - top); }
};

Shape line(std::vector<Point> points, Colour colour, double width, bool dashed = false) {
    return Shape{Shape::Kind::Polyline, std::move(points), colour, width, dashed, {}, kText, Anchor::Start};
}
Shape label(Point at, std::string text, Colour colour = kBlack, Anchor anchor = Anchor::Start) {
    return Shape{Shape::Kind::Label, {at}, colour, 0, false, std::move(text), kText, anchor};
}

// Slabs, ground and water table, as the window marks them.
void drawLevels(Figure& f, const Frame& frame, const Result& r, bool pressure) {
    const double H = wallHeight(r);
    f.shapes.push_back(line({{frame.left - 1.5, frame.top}, {frame.right, frame.top}}, kGrey, 1.2));
    f.shapes.push_back(line({{frame.left - 1.5, frame.bottom}, {frame.right, frame.bottom}}, kGrey, 1.2));
    const std::vector<double>& storeys = storeysOf(r);
    double slab = 0;
    for (std::size_t i = 0; i + 1 < storeys.size(); ++i) {
        slab += storeys[i];
        f.shapes.push_back(line({{frame.left - 1.5, frame.yOf(slab)}, {frame.right, frame.yOf(slab)}}, kGrey, 0.9));
        if (pressure) f.shapes.push_back(label({1, frame.yOf(slab) + 1}, "楼板"));
    }
    if (pressure) {
        f.shapes.push_back(label({1, frame.top + 1}, "顶板"));
        f.shapes.push_back(label({1, frame.bottom + 1}, "底板"));
    }
    const double topZ = r.H - H;
    struct Level {
        double z;
        const char* word;
        Colour colour;
    };
    double noteY = frame.top + 4;
    for (const Level& level : {Level{0, "地面", kGround}, Level{r.h1, "水位", kWaterLine}}) {
        const double x = level.z - topZ;
        if (x > 0 && x < H) {
            f.shapes.push_back(
                line({{frame.left, frame.yOf(x)}, {frame.right, frame.yOf(x)}}, level.colour, 0.4, true));
            f.shapes.push_back(label({frame.right - 0.5, frame.yOf(x) - 0.8}, level.word, level.colour, Anchor::End));
        } else if (pressure) {
            std::string note = level.word;
            note += x == 0  ? "在顶板处"
                    : x < 0 ? "在顶板以上 " + fixed(-x, 3) + " m"
                            : "在底板以下 " + fixed(x - H, 3) + " m";
            f.shapes.push_back(label({frame.right - 0.5, noteY}, note, level.colour, Anchor::End));
            noteY += kText * 1.3;
        }
    }
}

void legend(Figure& f, double y, const std::vector<std::pair<Shape, std::string>>& entries) {
    double x = 2;
    for (const auto& [sample, word] : entries) {
        Shape s = sample;
        if (s.kind == Shape::Kind::Area)
            s.points = {{x, y - 2.4}, {x + 2.8, y - 2.4}, {x + 2.8, y + 0.4}, {x, y + 0.4}};
        else
            s.points = {{x, y - 1}, {x + 7, y - 1}};
        f.shapes.push_back(s);
        x += (s.kind == Shape::Kind::Area ? 2.8 : 7) + 1.2;
        f.shapes.push_back(label({x, y}, word));
        x += textWidth(word, kText) + 4;
    }
}

}  // namespace

Figure pressureFigure(const Result& r) {
    Figure f{"侧压力标准值（kN/m²）", kFigureWidth, kFigureHeight, {}};
    const std::vector<review::DiagramPoint> points = review::diagram(r, 121);
    Frame frame{14, 12, kFigureWidth - 4, kFigureHeight - 8};
    frame.height = std::max(wallHeight(r), 1e-9);
    for (const review::DiagramPoint& p : points) frame.high = std::max(frame.high, p.eG + p.eQ);
    const double h1 = r.h1, gammaW = r.options.gammaW;
    auto water = [&](const review::DiagramPoint& p) {
        return p.z > h1 && p.z > 0 ? gammaW * (p.z - std::max(h1, 0.0)) : 0.0;
    };
    auto band = [&](auto lowOf, auto highOf, Colour colour) {
        Shape area{Shape::Kind::Area, {}, colour, 0, false, {}, kText, Anchor::Start};
        for (const review::DiagramPoint& p : points) area.points.push_back({frame.xOf(highOf(p)), frame.yOf(p.x)});
        for (std::size_t i = points.size(); i-- > 0;)
            area.points.push_back({frame.xOf(lowOf(points[i])), frame.yOf(points[i].x)});
        f.shapes.push_back(std::move(area));
    };
    auto zero = [](const review::DiagramPoint&) { return 0.0; };
    auto earth = [&](const review::DiagramPoint& p) { return p.eG - water(p); };
    auto g = [](const review::DiagramPoint& p) { return p.eG; };
    auto all = [](const review::DiagramPoint& p) { return p.eG + p.eQ; };
    band(zero, earth, kEarth);
    band(earth, g, kWater);
    band(g, all, kSurcharge);
    auto swatch = [](Colour c) { return Shape{Shape::Kind::Area, {}, c, 0, false, {}, kText, Anchor::Start}; };
    legend(f, 5, {{swatch(kEarth), "土压力"}, {swatch(kWater), "水压力"}, {swatch(kSurcharge), "堆载"}});
    if (!points.empty()) {
        const review::DiagramPoint& base = points.back();
        f.shapes.push_back(label({kFigureWidth - 2, kFigureHeight - 2},
                                 "底：eG＝" + fixed(base.eG, 4) + "，eQ＝" + fixed(base.eQ, 4), kBlack, Anchor::End));
    }
    drawLevels(f, frame, r, true);
    return f;
}

Figure momentFigure(const Result& r) {
    Figure f{"弯矩（kN·m/m）", kFigureWidth, kFigureHeight, {}};
    const std::vector<review::DiagramPoint> points = review::diagram(r, 121);
    Frame frame{6, 12, kFigureWidth - 6, kFigureHeight - 6};
    frame.height = std::max(wallHeight(r), 1e-9);
    frame.high = 0;
    for (const review::DiagramPoint& p : points) {
        frame.low = std::min({frame.low, p.Muls, p.Msls});
        frame.high = std::max({frame.high, p.Muls, p.Msls});
    }
    if (frame.high - frame.low <= 0) frame.high = frame.low + 1;
    frame.inset = (frame.right - frame.left) * 0.08;
    f.shapes.push_back(line({{frame.xOf(0), frame.top}, {frame.xOf(0), frame.bottom}}, kGrey, 0.25));
    const bool current = r.edition->crackMoment == review::CrackMoment::QuasiPermanent;
    for (bool uls : {false, true}) {
        Shape curve = line({}, uls ? kUls : kSls, uls ? 0.5 : 0.4, !uls);
        for (const review::DiagramPoint& p : points)
            curve.points.push_back({frame.xOf(uls ? p.Muls : p.Msls), frame.yOf(p.x)});
        f.shapes.push_back(std::move(curve));
    }
    legend(f, 5, {{line({}, kUls, 0.5), "基本组合"}, {line({}, kSls, 0.4, true), current ? "准永久组合" : "标准组合"}});
    const std::string ms = current ? "Mq＝" : "Mk＝";
    for (const Section& s : r.sections) {
        const double sign = isSpan(s) ? 1 : -1;
        const Point at{frame.xOf(sign * s.Muls), frame.yOf(s.x)};
        Shape dot{Shape::Kind::Area, {}, kUls, 0, false, {}, kText, Anchor::Start};
        for (int k = 0; k < 8; ++k)
            dot.points.push_back(
                {at.x + 1.1 * std::cos(k * std::numbers::pi / 4), at.y + 1.1 * std::sin(k * std::numbers::pi / 4)});
        f.shapes.push_back(std::move(dot));
        const std::string top = sectionWord(s, r) + " M＝" + fixed(s.Muls, 4);
        const std::string bottom = ms + fixed(s.Msls, 4);
        const double width = std::max(textWidth(top, kText), textWidth(bottom, kText));
        // On the other side of the axis, where that part of the wall has no curve to cover.
        double left = sign > 0 ? frame.xOf(0) - 2 - width : frame.xOf(0) + 2;
        left = std::clamp(left, 1.0, kFigureWidth - width - 1);
        double baseline = s.kind == review::SectionKind::Base  ? at.y - kText * 1.3 - 2
                          : s.kind == review::SectionKind::Top ? at.y + kText * 1.3 + 1.5
                                                               : at.y;
        baseline = std::clamp(baseline, frame.top + kText + 1, frame.bottom - kText * 1.3 - 1);
        f.shapes.push_back(label({left, baseline}, top));
        f.shapes.push_back(label({left, baseline + kText * 1.3}, bottom));
    }
    drawLevels(f, frame, r, false);
    return f;
}

Document reviewBook(const Result& r, std::string_view date, std::string_view subject) {
    const std::vector<std::string> lines = reviewReportLines(r, date);
    Document doc;
    doc.date = std::string(date);
    doc.subject = subject.empty() ? "未命名墙" : std::string(subject);
    std::size_t i = 0;
    if (!lines.empty()) {
        doc.title = trimmed(lines[0]);
        doc.plainTitle = {lines[0]};
        i = 1;
    }
    int tableNumber = 0, figureNumber = 0;
    auto addTable = [&](Table t) {
        t.caption = "表" + std::to_string(++tableNumber) + (t.caption.empty() ? "" : " " + t.caption);
        doc.blocks.emplace_back(std::in_place_type<Table>, std::move(t));
    };
    auto addFigure = [&](Figure f) {
        f.caption = "图" + std::to_string(++figureNumber) + " " + f.caption;
        doc.blocks.emplace_back(std::in_place_type<Figure>, std::move(f));
    };
    std::string chapter;
    auto closeChapter = [&] {
        if (chapter.find("荷载") != std::string::npos) {
            addTable(loadsTable(r));
            addFigure(pressureFigure(r));
        } else if (chapter.find("计算模型") != std::string::npos) {
            addFigure(momentFigure(r));
        }
    };
    // Made in its place in the list, member by member (no temporary to move).
    const auto addHeading = [&doc](int level, std::string number, std::string title, const std::string& plain) {
        Heading& heading = std::get<Heading>(doc.blocks.emplace_back(std::in_place_type<Heading>));
        heading.level = level;
        heading.number = std::move(number);
        heading.text = std::move(title);
        heading.plain = {plain};
    };
    std::size_t section = 0;
    for (; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        if (text.starts_with("程序：")) {
            const std::string program = text.substr(std::string_view("程序：").size());
            const std::size_t bracket = program.rfind("（");
            doc.program = program.substr(0, bracket);
            if (bracket != std::string::npos) {
                doc.edition = program.substr(bracket + std::string_view("（").size());
                if (doc.edition.ends_with("）")) doc.edition.resize(doc.edition.size() - std::string_view("）").size());
            }
        }
        if (isChapter(text)) {
            closeChapter();
            chapter = text;
            const std::size_t mark = text.find("、") + std::string_view("、").size();
            addHeading(1, text.substr(0, mark), text.substr(mark), text);
            if (chapter.find("受剪") != std::string::npos && !r.shear.empty()) addTable(shearTable(r));
            if (chapter.find("计算条件") != std::string::npos) {
                std::vector<std::string> plain;
                while (i + 1 < lines.size() && !lines[i + 1].empty()) plain.push_back(lines[++i]);
                addTable(inputsTable(r, std::move(plain)));
            }
            continue;
        }
        if (chapter.find("截面") != std::string::npos && text.starts_with("  （") && section < r.sections.size()) {
            const std::size_t close = text.find("）") + std::string_view("）").size();
            const std::size_t colon = text.find("：", close);
            const std::string name = text.substr(close, colon == std::string::npos ? std::string::npos : colon - close);
            addHeading(2, trimmed(text.substr(0, close)), name, text);
            addTable(sectionTable(r, r.sections[section++]));
            if (colon != std::string::npos)
                doc.blocks.push_back(Paragraph{text.substr(colon + std::string_view("：").size()), {}});
            continue;
        }
        if (text.starts_with("设计：")) {
            doc.blocks.push_back(signatureTable({text}));
            continue;
        }
        doc.blocks.push_back(Paragraph{trimmed(text), {text}});
    }
    closeChapter();
    return doc;
}

}  // namespace wallcalc
