// The review report as a book: the same lines in its plain text, its headings, tables and
// figures, and the forms the word processor takes (runs, SVG, JSON).

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/fields.h"
#include "report/document.h"
#include "report/review_book.h"
#include "report/review_compose.h"
#include "review/review.h"

using namespace wallcalc;
using namespace wallcalc::report::book;

namespace {

review::Result reviewOf(std::vector<std::pair<Field, std::string>> texts,
                        std::vector<std::pair<const char*, const char*>> options = {}) {
    FieldSet fields;
    for (const auto& [field, text] : texts) fields.setText(field, text);
    review::Options o;
    for (const auto& [key, value] : options) review::setOption(o, key, value);
    return review::reviewWall(fields, o);
}

template <typename T>
std::vector<const T*> blocksOf(const Document& d) {
    std::vector<const T*> out;
    for (const Block& b : d.blocks)
        if (const T* t = std::get_if<T>(&b)) out.push_back(t);
    return out;
}

std::vector<std::string> labelsOf(const Figure& f) {
    std::vector<std::string> out;
    for (const Shape& s : f.shapes)
        if (s.kind == Shape::Kind::Label) out.push_back(s.text);
    return out;
}

bool hasLabelStarting(const Figure& f, const std::string& start) {
    for (const std::string& text : labelsOf(f))
        if (text.starts_with(start)) return true;
    return false;
}

}  // namespace

TEST(ReviewBook, PlainTextIsTheReportLineForLine) {
    const review::Result walls[] = {reviewOf({}), reviewOf({}, {{"support", "fixed"}}), reviewOf({{Field::Text3, "0"}}),
                                    reviewOf({}, {{"edition", "2002"}})};
    for (const review::Result& r : walls)
        EXPECT_EQ(plainLines(reviewBook(r, "2024-05-01", "B1")), reviewReportLines(r, "2024-05-01"));
}

TEST(ReviewBook, OneStoreyWallHasItsChaptersSectionsTablesAndFigures) {
    const review::Result r = reviewOf({});  // the window's defaults: H 5 m, L 4.5 m, t 300 mm, propped top
    const Document d = reviewBook(r, "2024-05-01", "B1-north");
    EXPECT_EQ(d.title, "地下室外墙复核计算书");
    EXPECT_EQ(d.subject, "B1-north");
    EXPECT_EQ(d.date, "2024-05-01");
    EXPECT_NE(d.program.find("wallcalc"), std::string::npos);

    std::vector<std::string> chapters, sections;
    for (const Heading* h : blocksOf<Heading>(d)) (h->level == 1 ? chapters : sections).push_back(h->number + h->text);
    ASSERT_GE(chapters.size(), 5u);
    EXPECT_EQ(chapters[0], "一、设计依据");
    EXPECT_EQ(chapters[1], "二、计算条件");
    EXPECT_EQ(sections, (std::vector<std::string>{"（1）跨中", "（2）底部支座"}));

    const auto tables = blocksOf<Table>(d);
    // Inputs, loads, one per section from the top, the shear at the two supports, signatures.
    ASSERT_EQ(tables.size(), 6u);
    EXPECT_EQ(tables[0]->caption, "表1 计算条件");
    EXPECT_EQ(tables[1]->caption, "表2 荷载标准值");
    EXPECT_EQ(tables[2]->caption, "表3 跨中");
    EXPECT_EQ(tables[3]->caption, "表4 底部支座");
    EXPECT_EQ(tables[4]->caption, "表5 支座受剪承载力");
    EXPECT_EQ(tables[4]->header[2], "V（kN/m）");
    ASSERT_EQ(tables[4]->rows.size(), 2u);
    EXPECT_EQ(tables[4]->rows[0][0], "顶部支座");
    EXPECT_EQ(tables[4]->rows[1][0], "底部支座");
    // x of the base slab: the storey height, 4.5 m.
    EXPECT_EQ(tables[4]->rows[1][1], "4.500");
    for (const Table* t : tables) {
        EXPECT_EQ(t->numeric.size(), t->header.size()) << t->caption;
        for (const auto& row : t->rows) EXPECT_EQ(row.size(), t->header.size()) << t->caption;
    }
    // Loads: top slab at z = 5 − 4.5 = 0.5 m, the water table at 0.5 m is the same knot, base at 5 m.
    EXPECT_EQ(tables[1]->header[2], "eG（kN/m²）");
    EXPECT_EQ(tables[1]->rows.front()[1], "0.5000");
    EXPECT_EQ(tables[1]->rows.back()[1], "5.000");
    EXPECT_EQ(tables[1]->rows.back()[0], "底板");
    // eQ below the ground: K0·p = 0.5 × 10 = 5 kN/m².
    EXPECT_EQ(tables[1]->rows.back()[3], "5.000");
    EXPECT_EQ(tables[2]->rows.size(), 13u);
    EXPECT_EQ(tables[2]->rows[8][0], "实配钢筋 Φ16@100");
    EXPECT_EQ(tables[5]->header, (std::vector<std::string>{"设计", "校对", "审核"}));
    EXPECT_EQ(tables[5]->caption, "");

    const auto figures = blocksOf<Figure>(d);
    ASSERT_EQ(figures.size(), 2u);
    EXPECT_EQ(figures[0]->caption, "图1 侧压力标准值（kN/m²）");
    EXPECT_EQ(figures[1]->caption, "图2 弯矩（kN·m/m）");
    for (const Figure* f : figures)
        for (const Shape& s : f->shapes)
            for (const Point& p : s.points) {
                EXPECT_GE(p.x, 0) << f->caption << " " << s.text;
                EXPECT_LE(p.x, f->width) << f->caption << " " << s.text;
                EXPECT_GE(p.y, 0) << f->caption << " " << s.text;
                EXPECT_LE(p.y, f->height) << f->caption << " " << s.text;
            }
    EXPECT_TRUE(hasLabelStarting(*figures[0], "顶板"));
    EXPECT_TRUE(hasLabelStarting(*figures[0], "底板"));
    // The ground lies 0.5 m above the top slab; the water table at the top slab.
    EXPECT_TRUE(hasLabelStarting(*figures[0], "地面在顶板以上 0.500 m"));
    EXPECT_TRUE(hasLabelStarting(*figures[0], "水位在顶板处"));
    EXPECT_TRUE(hasLabelStarting(*figures[1], "底部支座 M＝"));
    EXPECT_TRUE(hasLabelStarting(*figures[1], "跨中 M＝"));
}

TEST(ReviewBook, ThreeStoreyWallHasEverySectionSlabAndSupport) {
    // Three storeys of 4 m, the top slab at the ground (H 12 m).
    const review::Result r = reviewOf({{Field::Text3, "12"}, {Field::Text9, "4000"}}, {{"upper_storeys", "4000/4000"}});
    const Document d = reviewBook(r, "2024-05-01", "B3");
    std::vector<std::string> sections;
    for (const Heading* h : blocksOf<Heading>(d))
        if (h->level == 2) sections.push_back(h->text);
    EXPECT_EQ(sections, (std::vector<std::string>{"第1层跨中", "第1层底楼板支座", "第2层跨中", "第2层底楼板支座",
                                                  "第3层跨中", "底部支座"}));
    const auto tables = blocksOf<Table>(d);
    // Inputs, loads, six sections, the shear, signatures.
    ASSERT_EQ(tables.size(), 10u);
    long storeyRows = 0;
    for (const auto& row : tables[0]->rows) storeyRows += row[0].ends_with("层层高");
    EXPECT_EQ(storeyRows, 3);
    // Supports: the top slab, the two slabs between the storeys, the base slab.
    EXPECT_EQ(tables[8]->rows.size(), 4u);
    EXPECT_EQ(tables[8]->rows[3][1], "12.00");

    const auto figures = blocksOf<Figure>(d);
    ASSERT_EQ(figures.size(), 2u);
    long slabs = 0;
    for (const std::string& text : labelsOf(*figures[0])) slabs += text == "楼板";
    EXPECT_EQ(slabs, 2);
    // In the pressures, the slabs 4 m and 8 m down a 12 m wall drawn from y 12 mm to 92 mm: at
    // 12 + 80/3 = 38.67 mm and 12 + 160/3 = 65.33 mm.
    for (double y : {38.6667, 65.3333}) {
        bool drawn = false;
        for (const Shape& s : figures[0]->shapes)
            drawn |= s.kind == Shape::Kind::Polyline && s.points.size() == 2 && std::fabs(s.points[0].y - y) < 0.01 &&
                     std::fabs(s.points[1].y - y) < 0.01;
        EXPECT_TRUE(drawn) << y;
    }
    for (const char* name : {"第1层跨中 M＝", "第1层底楼板支座 M＝", "第3层跨中 M＝", "底部支座 M＝"})
        EXPECT_TRUE(hasLabelStarting(*figures[1], name)) << name;
}

TEST(ReviewBook, FixedTopAddsItsSectionAndLabel) {
    const Document d = reviewBook(reviewOf({}, {{"support", "fixed"}}), "2024-05-01", "");
    EXPECT_EQ(d.subject, "未命名墙");
    std::vector<std::string> sections;
    for (const Heading* h : blocksOf<Heading>(d))
        if (h->level == 2) sections.push_back(h->text);
    EXPECT_EQ(sections, (std::vector<std::string>{"顶部支座", "跨中", "底部支座"}));
    EXPECT_TRUE(hasLabelStarting(*blocksOf<Figure>(d)[1], "顶部支座 M＝"));
}

TEST(ReviewBook, RunsLowerIndicesAndRaiseExponents) {
    struct Case {
        const char* text;
        std::vector<report::book::Run> runs;
    };
    const Case cases[] = {
        {"As,req＝max(As, As,min)",
         {{"A", Script::Normal},
          {"s,req", Script::Sub},
          {"＝max(A", Script::Normal},
          {"s", Script::Sub},
          {", A", Script::Normal},
          {"s,min", Script::Sub},
          {")", Script::Normal}}},
        {"×10⁶/h0²",
         {{"×10", Script::Normal},
          {"6", Script::Super},
          {"/h", Script::Normal},
          {"0", Script::Sub},
          {"2", Script::Super}}},
        {"10⁻⁵", {{"10", Script::Normal}, {"-5", Script::Super}}},
        {"ψq＝0.5", {{"ψ", Script::Normal}, {"q", Script::Sub}, {"＝0.5", Script::Normal}}},
        {"取ρte＝0.01", {{"取ρ", Script::Normal}, {"te", Script::Sub}, {"＝0.01", Script::Normal}}},
        // Not a symbol inside a word, nor a middle dot outside an exponent.
        {"left·shaft", {{"left·shaft", Script::Normal}}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(runsOf(c.text), c.runs) << c.text;
}

TEST(ReviewBook, SvgAndJsonCarryTheBook) {
    Figure f{"图", 150, 100, {}};
    f.shapes.push_back(Shape{Shape::Kind::Polyline, {{0, 0}, {10, 5}}, {220, 0, 0}, 0.5, true, {}, 2.8, Anchor::Start});
    f.shapes.push_back(
        Shape{Shape::Kind::Area, {{0, 0}, {1, 0}, {1, 1}}, {70, 140, 230}, 0, false, {}, 2.8, Anchor::Start});
    f.shapes.push_back(Shape{Shape::Kind::Label, {{3, 4}}, {0, 0, 0}, 0, false, "M<1>&", 2.8, Anchor::End});
    const std::string svg = svgOf(f);
    EXPECT_NE(svg.find("width=\"150.00mm\" height=\"100.00mm\" viewBox=\"0 0 150.00 100.00\""), std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#dc0000\""), std::string::npos);
    EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
    EXPECT_NE(svg.find("<polygon fill=\"#468ce6\""), std::string::npos);
    EXPECT_NE(svg.find(">M&lt;1&gt;&amp;</text>"), std::string::npos);
    EXPECT_NE(svg.find("text-anchor=\"end\""), std::string::npos);

    const Document d = reviewBook(reviewOf({}), "2024-05-01", "B1-north");
    const nlohmann::json book = nlohmann::json::parse(bookJson(d));
    EXPECT_EQ(book["title"], "地下室外墙复核计算书");
    EXPECT_NE(book["header"].get<std::string>().find("B1-north"), std::string::npos);
    EXPECT_EQ(book["fonts"]["body"], "SimSun");
    int headings = 0, tables = 0, figures = 0;
    for (const auto& block : book["blocks"]) {
        headings += block["kind"] == "heading";
        tables += block["kind"] == "table";
        if (block["kind"] == "figure") {
            ++figures;
            EXPECT_TRUE(block["svg"].get<std::string>().starts_with("<?xml"));
        }
        if (block["kind"] == "table") {
            EXPECT_EQ(block["rows"][0].size(), block["numeric"].size());
        }
    }
    EXPECT_EQ(tables, 6);
    EXPECT_EQ(figures, 2);
    EXPECT_EQ(headings, static_cast<int>(blocksOf<Heading>(d).size()));
}
