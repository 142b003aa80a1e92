#include "report/document.h"

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace wallcalc::report::book {
namespace {

// Symbols whose index the book lowers: the base and the index, longest first where one begins
// another.
constexpr std::array<std::pair<std::string_view, std::string_view>, 45> kIndexed{{
    {"As,min", "s,min"}, {"As,req", "s,req"}, {"As,p", "s,p"}, {"As1", "s1"},     {"As2", "s2"}, {"As", "s"},
    {"h1,sls", "1,sls"}, {"h0", "0"},         {"h1", "1"},     {"fcu,k", "cu,k"}, {"ftk", "tk"}, {"fy", "y"},
    {"fc", "c"},         {"ft", "t"},         {"Es", "s"},     {"cs", "s"},       {"deq", "eq"}, {"wmax", "max"},
    {"wlim", "lim"},     {"K0", "0"},         {"MGsls", "G"},  {"MG", "G"},       {"MQ", "Q"},   {"Mq", "q"},
    {"Mk", "k"},         {"eG", "G"},         {"eQ", "Q"},     {"VG", "G"},       {"VQ", "Q"},   {"Vc", "c"},
    {"Ltot", "tot"},     {"γ0", "0"},         {"ψq", "q"},     {"γw", "w"},       {"γG", "G"},   {"γQ", "Q"},
    {"ρte", "te"},       {"ρmin", "min"},     {"ξb", "b"},     {"εcu", "cu"},     {"α1", "1"},   {"β1", "1"},
    {"αs", "s"},         {"αcr", "cr"},       {"σs", "s"},
}};

// The plain text's superscript characters and what they raise.
constexpr std::array<std::pair<std::string_view, char>, 12> kRaised{{{"⁰", '0'},
                                                                     {"¹", '1'},
                                                                     {"²", '2'},
                                                                     {"³", '3'},
                                                                     {"⁴", '4'},
                                                                     {"⁵", '5'},
                                                                     {"⁶", '6'},
                                                                     {"⁷", '7'},
                                                                     {"⁸", '8'},
                                                                     {"⁹", '9'},
                                                                     {"⁻", '-'},
                                                                     {"·", '.'}}};

bool asciiWord(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

void append(std::vector<Run>& runs, std::string_view text, Script script) {
    if (text.empty()) return;
    if (!runs.empty() && runs.back().script == script)
        runs.back().text += text;
    else
        runs.push_back({std::string(text), script});
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string colourText(Colour c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r & 255, c.g & 255, c.b & 255);
    return buffer;
}

nlohmann::json runsJson(std::string_view text) {
    nlohmann::json runs = nlohmann::json::array();
    for (const Run& run : runsOf(text))
        runs.push_back({{"text", run.text},
                        {"script", run.script == Script::Sub     ? "sub"
                                   : run.script == Script::Super ? "super"
                                                                 : ""}});
    return runs;
}

}  // namespace

std::vector<Run> runsOf(std::string_view text) {
    std::vector<Run> runs;
    std::size_t from = 0;  // start of the text not yet in a run
    std::size_t at = 0;
    while (at < text.size()) {
        // A superscript character of the plain text ("·" only between two raised digits: ⁰·⁵).
        bool raised = false;
        for (const auto& [glyph, ascii] : kRaised) {
            if (text.compare(at, glyph.size(), glyph) != 0) continue;
            if (ascii == '.' && (runs.empty() || runs.back().script != Script::Super || from != at)) break;
            append(runs, text.substr(from, at - from), Script::Normal);
            append(runs, std::string_view(&ascii, 1), Script::Super);
            at += glyph.size();
            from = at;
            raised = true;
            break;
        }
        if (raised) continue;
        const bool boundary = at == 0 || !asciiWord(text[at - 1]);
        bool lowered = false;
        if (boundary) {
            for (const auto& [symbol, index] : kIndexed) {
                if (text.compare(at, symbol.size(), symbol) != 0) continue;
                const std::size_t end = at + symbol.size();
                if (end < text.size() && asciiWord(text[end])) continue;
                append(runs, text.substr(from, at - from), Script::Normal);
                append(runs, symbol.substr(0, symbol.size() - index.size()), Script::Normal);
                append(runs, index, Script::Sub);
                at = end;
                from = at;
                lowered = true;
                break;
            }
        }
        if (!lowered) ++at;
    }
    append(runs, text.substr(from), Script::Normal);
    return runs;
}

std::vector<std::string> plainLines(const Document& document) {
    std::vector<std::string> lines(document.plainTitle);
    for (const Block& block : document.blocks)
        std::visit(
            [&](const auto& b) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(b)>, Figure>)
                    lines.insert(lines.end(), b.plain.begin(), b.plain.end());
            },
            block);
    return lines;
}

std::string plainText(const Document& document) {
    std::string text;
    for (const std::string& line : plainLines(document)) text += line + "\r\n";
    return text;
}

std::string svgOf(const Figure& figure) {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      number(figure.width) + "mm\" height=\"" + number(figure.height) + "mm\" viewBox=\"0 0 " +
                      number(figure.width) + " " + number(figure.height) + "\">\n";
    for (const Shape& shape : figure.shapes) {
        std::string points;
        for (const Point& p : shape.points) points += (points.empty() ? "" : " ") + number(p.x) + "," + number(p.y);
        switch (shape.kind) {
            case Shape::Kind::Polyline:
                svg += "<polyline fill=\"none\" stroke=\"" + colourText(shape.colour) + "\" stroke-width=\"" +
                       number(shape.width) + "\"" +
                       (shape.dashed ? " stroke-dasharray=\"" + number(3 * shape.width + 1) + "," +
                                           number(2 * shape.width + 0.6) + "\""
                                     : std::string()) +
                       " points=\"" + points + "\"/>\n";
                break;
            case Shape::Kind::Area:
                svg +=
                    "<polygon fill=\"" + colourText(shape.colour) + "\" stroke=\"none\" points=\"" + points + "\"/>\n";
                break;
            case Shape::Kind::Label: {
                const Point at = shape.points.empty() ? Point{} : shape.points.front();
                const char* anchor = shape.anchor == Anchor::Middle ? "middle"
                                     : shape.anchor == Anchor::End  ? "end"
                                                                    : "start";
                svg += "<text x=\"" + number(at.x) + "\" y=\"" + number(at.y) + "\" font-size=\"" + number(shape.size) +
                       "\" font-family=\"SimSun, Noto Serif CJK SC, AR PL UMing CN, serif\"" + " text-anchor=\"" +
                       anchor + "\" fill=\"" + colourText(shape.colour) + "\">" + escaped(shape.text) + "</text>\n";
                break;
            }
        }
    }
    return svg + "</svg>\n";
}

std::string bookJson(const Document& document) {
    nlohmann::json blocks = nlohmann::json::array();
    for (const Block& block : document.blocks) {
        if (const auto* h = std::get_if<Heading>(&block)) {
            blocks.push_back({{"kind", "heading"}, {"level", h->level}, {"runs", runsJson(h->number + h->text)}});
        } else if (const auto* p = std::get_if<Paragraph>(&block)) {
            if (!p->text.empty()) blocks.push_back({{"kind", "paragraph"}, {"runs", runsJson(p->text)}});
        } else if (const auto* t = std::get_if<Table>(&block)) {
            nlohmann::json rows = nlohmann::json::array();
            nlohmann::json header = nlohmann::json::array();
            for (const std::string& cell : t->header) header.push_back(runsJson(cell));
            rows.push_back(header);
            for (const auto& row : t->rows) {
                nlohmann::json cells = nlohmann::json::array();
                for (const std::string& cell : row) cells.push_back(runsJson(cell));
                rows.push_back(cells);
            }
            nlohmann::json numeric = nlohmann::json::array();
            for (bool n : t->numeric) numeric.push_back(n);
            blocks.push_back({{"kind", "table"}, {"caption", t->caption}, {"rows", rows}, {"numeric", numeric}});
        } else if (const auto* f = std::get_if<Figure>(&block)) {
            blocks.push_back({{"kind", "figure"},
                              {"caption", f->caption},
                              {"width", f->width},
                              {"height", f->height},
                              {"svg", svgOf(*f)}});
        }
    }
    nlohmann::json book = {{"title", document.title},
                           {"header", document.program + "　" + document.subject + "　" + document.edition},
                           {"date", document.date},
                           {"fonts", {{"body", kBodyFont}, {"heading", kHeadingFont}, {"latin", kLatinFont}}},
                           {"blocks", blocks}};
    return book.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace wallcalc::report::book
