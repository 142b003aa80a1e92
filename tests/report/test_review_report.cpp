// The review report: its order, its words, and every substituted line recomputed from what it
// prints.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "core/fields.h"
#include "report/review_compose.h"
#include "review/review.h"

using namespace wallcalc;

namespace {

struct Wall {
    const char* name;
    std::vector<std::pair<Field, std::string>> texts;
    std::vector<std::pair<const char*, const char*>> options;
};

// Walls chosen so that between them every kind of line appears: the defaults, a fixed top
// slab, the 2002 edition, a high water table with light bars (ρte below its floor, ψ bounded),
// a high grade (εcu reduced), a wall wholly below a deep ground, thick cover with dh, a wall too
// thin for its moment (截面不足) and one wholly above the ground (no load, σs = 0).
const Wall kWalls[] = {
    {"defaults", {}, {}},
    {"fixed top", {}, {{"support", "fixed"}}},
    {"2002", {}, {{"edition", "2002"}}},
    {"2002 fixed", {{Field::Text2, "3"}}, {{"edition", "2002"}, {"support", "fixed"}}},
    {"light bars", {{Field::Text17, "10"}, {Field::Text25, "200"}, {Field::Text1, "0"}, {Field::Text3, "2.5"}}, {}},
    {"high grade", {{Field::Text10, "60"}, {Field::Text13, "435"}, {Field::Text4, "400"}}, {}},
    {"deep", {{Field::Text3, "9"}, {Field::Text2, "0"}, {Field::Text9, "3900"}}, {{"gamma0", "1.1"}}},
    {"cover", {{Field::Text13, "270"}, {Field::Text4, "400"}}, {{"cover_out", "70"}, {"dh", "12"}, {"cover_in", "15"}}},
    {"too thin", {{Field::Text4, "150"}, {Field::Text3, "8"}, {Field::Text2, "0"}}, {}},
    {"above ground", {{Field::Text3, "0"}}, {}},
    // The wall as built: storeys above the window's, the envelope, 通长 + 附加 on the soil face, the
    // crack check's own water table and cover, both editions; a shear failure; a thick wall (βh).
    {"three storeys", {{Field::Text3, "12"}}, {{"upper_storeys", "3600/3900"}}},
    {"two storeys envelope",
     {{Field::Text3, "9"}, {Field::Text13, "360"}},
     {{"upper_storeys", "4500"}, {"support", "envelope"}, {"bars_out", "16@200+14@150"}, {"h1_sls", "3"}}},
    {"2002 envelope",
     {{Field::Text3, "9"}, {Field::Text13, "360"}},
     {{"upper_storeys", "4500"},
      {"support", "envelope"},
      {"edition", "2002"},
      {"bars_in", "12@150+10@150"},
      {"crack_cover_out", "30"}}},
    {"four storeys fixed",
     {{Field::Text3, "14"}, {Field::Text4, "400"}},
     {{"upper_storeys", "3000/3300/3600"}, {"support", "fixed"}}},
    {"shear", {{Field::Text3, "6"}, {Field::Text9, "5500"}, {Field::Text13, "360"}, {Field::Text17, "25"}}, {}},
    {"thick", {{Field::Text4, "1300"}, {Field::Text3, "30"}, {Field::Text9, "12000"}}, {}},
};

review::Result reviewOf(const Wall& wall) {
    FieldSet fields;
    for (const auto& [field, text] : wall.texts) fields.setText(field, text);
    review::Options options;
    for (const auto& [key, value] : wall.options) review::setOption(options, key, value);
    return review::reviewWall(fields, options);
}

std::vector<std::string> split(const std::string& text, std::string_view separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

// The numbers of a printed text, in order: ASCII digits with a point; a minus sign (− or -)
// right after "(" or at the start makes the number negative. Superscripts are not digits.
std::vector<double> numbersIn(const std::string& text, std::vector<std::string>* printed = nullptr) {
    std::vector<double> numbers;
    for (std::size_t i = 0; i < text.size();) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.')) ++end;
        double value = std::strtod(text.substr(i, end - i).c_str(), nullptr);
        std::size_t sign = i;
        if (i >= 1 && text[i - 1] == '-') sign = i - 1;
        if (i >= 3 && text.compare(i - 3, 3, "−") == 0) sign = i - 3;
        const bool minus = sign < i && (sign == 0 || text[sign - 1] == '(');
        if (minus) value = -value;
        numbers.push_back(value);
        if (printed) printed->push_back(text.substr(i, end - i));
        i = end;
    }
    return numbers;
}

// The formulas as printed, worked by hand from the codes, over the numbers printed after them
// (constants of the printed substitution included, e.g. the 10 of "×10⁶" and the 2 of "/2").
using Formula = std::function<double(const std::vector<double>&)>;
const std::map<std::string, Formula>& formulas() {
    static const std::map<std::string, Formula> table = {
        {"K0·γ·z", [](auto& n) { return n[0] * n[1] * n[2]; }},
        {"K0·γ·h1＋(K0·γ′＋γw)·(z−h1)",
         [](auto& n) { return n[0] * n[1] * n[2] + (n[3] * n[4] + n[5]) * (n[6] - n[7]); }},
        {"K0·p", [](auto& n) { return n[0] * n[1]; }},
        {"0.0033−(fcu,k−50)×10⁻⁵", [](auto& n) { return n[0] - (n[1] - n[2]) * 1e-5; }},
        {"β1/(1＋fy/(Es·εcu))", [](auto& n) { return n[0] / (n[1] + n[2] / (n[3] * 1e5 * n[5])); }},
        {"max(0.20, 45·ft/fy)%", [](auto& n) { return std::max(n[0], n[1] * n[2] / n[3]); }},
        {"ρmin·b·t", [](auto& n) { return n[0] / 100 * n[1] * n[2]; }},
        {"γ0·(1.3·MG＋1.5·MQ)", [](auto& n) { return n[0] * (n[1] * n[2] + n[3] * n[4]); }},
        {"γ0·max(1.2·MG＋1.4·MQ, 1.35·MG＋1.4×0.7·MQ)",
         [](auto& n) { return n[0] * std::max(n[1] * n[2] + n[3] * n[4], n[5] * n[6] + n[7] * n[8]); }},
        {"MG＋ψq·MQ", [](auto& n) { return n[0] + n[1] * n[2]; }},
        {"MG＋MQ", [](auto& n) { return n[0] + n[1]; }},
        {"t−c−dh−d/2", [](auto& n) { return n[0] - n[1] - n[2] - n[3] / n[4]; }},
        {"Σπ·d²/4·1000/s",
         [](auto& n) {
             return std::numbers::pi * n[0] * n[0] / n[1] * n[2] / n[3] +
                    std::numbers::pi * n[4] * n[4] / n[5] * n[6] / n[7];
         }},
        {"Σni·di²/Σni·ν·di",
         [](auto& n) { return (n[0] * n[1] * n[1] + n[2] * n[3] * n[3]) / (n[4] * n[5] * n[6] + n[7] * n[8] * n[9]); }},
        {"γ0·(γG·VG＋γQ·VQ)", [](auto& n) { return n[0] * (n[1] * n[2] + n[3] * n[4]); }},
        {"(800/h0)^(1/4)", [](auto& n) { return std::pow(n[0] / n[1], n[2] / n[3]); }},
        {"0.7·βh·ft·b·h0", [](auto& n) { return n[0] * n[1] * n[2] * n[3] * n[4] / n[5]; }},
        {"M/(α1·fc·b·h0²)", [](auto& n) { return n[0] * 1e6 / (n[2] * n[3] * n[4] * n[5] * n[5]); }},
        {"1−√(1−2αs)", [](auto& n) { return n[0] - std::sqrt(n[1] - n[2] * n[3]); }},
        {"α1·fc·b·ξ·h0/fy", [](auto& n) { return n[0] * n[1] * n[2] * n[3] * n[4] / n[5]; }},
        {"max(As, As,min)", [](auto& n) { return std::max(n[0], n[1]); }},
        {"π·d²/4·1000/s", [](auto& n) { return std::numbers::pi * n[0] * n[0] / n[1] * n[2] / n[3]; }},
        {"Mq/(0.87·h0·As,p)", [](auto& n) { return n[0] * 1e6 / (n[2] * n[3] * n[4]); }},
        {"Mk/(0.87·h0·As,p)", [](auto& n) { return n[0] * 1e6 / (n[2] * n[3] * n[4]); }},
        {"As,p/(0.5·b·t)", [](auto& n) { return n[0] / (n[1] * n[2] * n[3]); }},
        {"1.1−0.65·ftk/(ρte·σs)", [](auto& n) { return n[0] - n[1] * n[2] / (n[3] * n[4]); }},
        {"c＋dh", [](auto& n) { return n[0] + n[1]; }},
        {"d/ν", [](auto& n) { return n[0] / n[1]; }},
        {"αcr·ψ·σs/Es·(1.9·cs＋0.08·deq/ρte)",
         [](auto& n) { return n[0] * n[1] * n[2] / (n[3] * 1e5) * (n[5] * n[6] + n[7] * n[8] / n[9]); }},
    };
    return table;
}

// A line "symbol＝formula＝numbers＝result…" (before any bracketed note) is a substituted line.
struct Substituted {
    std::string formula, numbers, result;
};
std::optional<Substituted> substituted(const std::string& line) {
    const std::string body = line.substr(0, line.find("（"));
    const std::vector<std::string> parts = split(body, "＝");
    if (parts.size() < 4) return std::nullopt;
    return Substituted{parts[1], parts[2], parts[3]};
}

TEST(ReviewReport, EverySubstitutedLineAddsUpToItsLastPrintedDigit) {
    for (const Wall& wall : kWalls) {
        const std::vector<std::string> lines = reviewReportLines(reviewOf(wall), "2024-05-01");
        int checked = 0;
        for (const std::string& line : lines) {
            const auto s = substituted(line);
            if (!s) continue;
            auto formula = formulas().find(s->formula);
            if (formula == formulas().end()) {
                ADD_FAILURE() << wall.name << ": no hand formula for " << line;
                continue;
            }
            std::vector<std::string> printed;
            const std::vector<double> results = numbersIn(s->result, &printed);
            ASSERT_FALSE(results.empty()) << line;
            const std::string& last = printed.front();
            const std::size_t point = last.find('.');
            const int decimals = point == std::string::npos ? 0 : static_cast<int>(last.size() - point - 1);
            const double unit = std::pow(10.0, -decimals);
            const double recomputed = formula->second(numbersIn(s->numbers));
            EXPECT_LE(std::fabs(recomputed - results.front()), 0.5 * unit + 1e-9 * std::fabs(results.front()))
                << wall.name << ": " << line << "\n  recomputed " << recomputed;
            ++checked;
        }
        // The section lines of two or three sections and the loads; fewer without any load.
        // A 截面不足 section has no crack lines.
        const std::string_view name = wall.name;
        EXPECT_GE(checked, name == "above ground" ? 10 : name == "too thin" ? 15 : 25) << wall.name;
    }
}

// A moment reads the same wherever it is printed: the result of its combination line is the
// operand of the αs line, and the crack moment's result that of the σs line.
TEST(ReviewReport, OneMomentOneText) {
    auto between = [](const std::string& line, const std::string& before, const std::string& after) {
        const std::size_t from = line.rfind(before) + before.size();
        return line.substr(from, line.find(after, from) - from);
    };
    for (const Wall& wall : kWalls) {
        std::string uls, sls;
        int compared = 0;
        for (const std::string& line : reviewReportLines(reviewOf(wall), "2024-05-01")) {
            if (line.starts_with("    M＝")) uls = between(line, "＝", " kN·m/m");
            if (line.find("弯矩：M＝0，") != std::string::npos) uls = sls = "0";
            if (line.starts_with("    Mq＝") || line.starts_with("    Mk＝"))
                sls = between(line.substr(0, line.find("（")), "＝", " kN·m/m");
            if (line.starts_with("    αs＝")) {
                EXPECT_EQ(between(line, "h0²)＝", "×10⁶"), uls) << wall.name << ": " << line;
                ++compared;
            }
            if (line.starts_with("    σs＝") && line.find("As,p)＝") != std::string::npos) {
                EXPECT_EQ(between(line, "As,p)＝", "×10⁶"), sls) << wall.name << ": " << line;
                ++compared;
            }
        }
        EXPECT_GT(compared, 0) << wall.name;
    }
}

TEST(ReviewReport, ReadsInTheOrderOfACalculationReport) {
    const std::vector<std::string> lines = reviewReportLines(reviewOf(kWalls[0]), "2024-05-01");
    const char* const inOrder[] = {"地下室外墙复核计算书",
                                   "程序：地下室外墙计算（wallcalc）",
                                   "日期：2024-05-01",
                                   "一、设计依据",
                                   "GB 55001-2021",
                                   "GB 55008-2021",
                                   "GB/T 50010-2010（2024年版）",
                                   "二、计算条件",
                                   "墙厚 t＝300 mm",
                                   "三、荷载",
                                   "eG＝K0·γ·h1＋(K0·γ′＋γw)·(z−h1)",
                                   "eQ＝K0·p＝0.5×10＝5 kN/m²",
                                   "四、计算模型及内力",
                                   "上端（顶板）铰接，下端（底板）固接",
                                   "跨中（x＝1.931 m）",
                                   "底部支座（x＝4.5 m）",
                                   "五、截面承载力及裂缝宽度验算",
                                   "（1）跨中",
                                   "（GB/T 50010-2010 式6.2.10-1）",
                                   "（GB/T 50010-2010 式7.1.2-1）",
                                   "结论：跨中实配Φ16@100",
                                   "（2）底部支座",
                                   "结论：底部支座实配Φ16@100",
                                   "六、支座处受剪承载力验算（不配箍筋，GB/T 50010-2010 第6.3.3条）",
                                   "Vc＝0.7·βh·ft·b·h0＝0.7×1×1.43×1000×242/1000＝242.2 kN/m",
                                   "顶部支座：V＝γ0·(γG·VG＋γQ·VQ)＝1×(1.3×",
                                   "满足",
                                   "底部支座：V＝",
                                   "七、推荐配筋",
                                   "跨中：Φ",
                                   "控制因素：",
                                   "底部支座：Φ",
                                   "八、审图提示",
                                   "GB/T 1499.2-2018",
                                   "结论：不满足要求（底部支座配筋）。",
                                   "设计：",
                                   "日期：2024-05-01"};
    std::size_t at = 0;
    for (const char* text : inOrder) {
        while (at < lines.size() && lines[at].find(text) == std::string::npos) ++at;
        ASSERT_LT(at, lines.size()) << "missing or out of order: " << text;
    }
    EXPECT_NE(lines[lines.size() - 2].find("校对："), std::string::npos);
    EXPECT_NE(lines[lines.size() - 2].find("审核："), std::string::npos);
}

// The edition and the support change the words, not only the numbers.
TEST(ReviewReport, EditionAndSupportNameTheirCodesAndSections) {
    struct Case {
        const Wall& wall;
        std::vector<const char*> present, absent;
    };
    const Case cases[] = {
        {kWalls[1], {"（1）顶部支座", "均为固接", "顶部支座："}, {"铰接"}},
        {kWalls[2],
         {"GB 50009-2001", "GB 50010-2002", "（GB 50010-2002 式8.1.2-1）", "（GB 50010-2002 式8.1.3-3）",
          "Mk＝MG＋MQ＝", "GB 50010-2002 第9.5.1条", "1.35×", "（2002版规范复核）", "GB 50010-2002 第7.5.3条"},
         {"GB 55001", "Mq＝", "2024年版", "现行规范", "HRB335_withdrawn", "审图提示"}},
        // The wall as built: every storey and section from the top, the faces' bars, the crack
        // check's water table and cover, the shear and its verdict, βh of a thick wall.
        {kWalls[11],
         {"按2跨连续梁计算", "（2）第1层跨中", "（3）第1层底楼板支座", "（4）第2层跨中", "（5）底部支座",
          "两侧不同）：外侧（迎土面）Φ16@200+Φ14@150，内侧 Φ16@100", "（通长＋附加）", "Σni·di²/Σni·ν·di",
          "裂缝验算水位深度 h1,sls＝3 m", "取水位 h1,sls＝3 m", "模型控制"},
         {}},
        {kWalls[12], {"外侧设有防水层，裂缝宽度计算取 c＝30 mm", "cs＝c＋dh＝30＋0＝30 mm", "2002版规范复核"}, {}},
        {kWalls[14], {"不满足：需加大墙厚或提高混凝土强度等级", "结论：不满足要求（"}, {}},
        {kWalls[8], {"截面不足，实配钢筋不能满足承载力要求；裂缝宽度无意义，不作验算"}, {"σs＝", "wmax＝"}},
        {kWalls[15], {"βh＝(800/h0)^(1/4)＝(800/1242)^(1/4)＝0.8959"}, {}},
        {kWalls[5], {"εcu＝0.0033−(fcu,k−50)×10⁻⁵＝0.0033−(60−50)×10⁻⁵＝0.0032"}, {}},
    };
    for (const Case& c : cases) {
        std::string all;
        for (const std::string& line : reviewReportLines(reviewOf(c.wall), "2024-05-01")) all += line + "\n";
        for (const char* text : c.present) EXPECT_NE(all.find(text), std::string::npos) << c.wall.name << ": " << text;
        for (const char* text : c.absent) EXPECT_EQ(all.find(text), std::string::npos) << c.wall.name << ": " << text;
    }
}

// 10@200 on a 300 mm wall: As,p = π·100/4·1000/200 = 392.7 mm², ρte = 392.7/150000 = 0.00262,
// below its floor; the report says so where it takes the floor.
TEST(ReviewReport, BoundsAreStatedWhereTheyAct) {
    std::string all;
    for (const std::string& line : reviewReportLines(reviewOf(kWalls[4]), "2024-05-01")) all += line + "\n";
    EXPECT_NE(all.find("＝392.7/(0.5×1000×300)＝0.002618＜0.01，取ρte＝0.01（"), std::string::npos) << all;
    // Cover 70 + dh 12 = 82 mm on the soil face, more than 65.
    all.clear();
    for (const std::string& line : reviewReportLines(reviewOf(kWalls[7]), "2024-05-01")) all += line + "\n";
    EXPECT_NE(all.find("cs＝c＋dh＝70＋12＝82 mm，大于65 mm，取cs＝65 mm"), std::string::npos);
    EXPECT_NE(all.find("cs＝c＋dh＝15＋12＝27 mm\n"), std::string::npos);
}

TEST(ReviewReport, TextEndsEveryLineWithCrLf) {
    const review::Result result = reviewOf(kWalls[0]);
    const std::vector<std::string> lines = reviewReportLines(result, "2024-05-01");
    const std::string text = reviewReportText(result, "2024-05-01");
    EXPECT_EQ(split(text, "\r\n").size(), lines.size() + 1);
    EXPECT_TRUE(text.ends_with("日期：2024-05-01\r\n"));
    if (std::getenv("WALLCALC_PRINT_REVIEW_REPORT"))
        for (const Wall& wall : kWalls)
            for (const std::string& line : reviewReportLines(reviewOf(wall), "2024-05-01"))
                std::printf("%s\n", line.c_str());
}

}  // namespace
