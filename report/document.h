#pragma once
// A document as a book: numbered headings, paragraphs, tables and figures drawn as vectors, under
// a page header and above a page footer. No Qt and no word processor: the plain text of a report
// is written from it, and the word processor builds the book from its JSON form.
//
// Every block carries the lines it stands for in the plain text (a table may stand for lines
// that say the same in words; a figure stands for none), so that the plain report and the book
// are one composition.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/document_fonts.h"

namespace wallcalc::report::book {

// A run of text in one position: on the line, lowered or raised.
enum class Script { Normal, Sub, Super };
struct Run {
    std::string text;
    Script script = Script::Normal;
    bool operator==(const Run&) const = default;
};

// A text as the book sets it: symbols with their indices lowered ("As,req" → A + "s,req"), the
// superscript characters of the plain text raised ("10⁶" → 10 + "6").
std::vector<Run> runsOf(std::string_view text);

struct Heading {
    int level = 1;       // 1 chapter, 2 section, 3 subsection
    std::string number;  // as printed: "一、", "（1）"
    std::string text;
    std::vector<std::string> plain;
};

struct Paragraph {
    std::string text;  // without the plain text's indentation; empty: nothing in the book
    std::vector<std::string> plain;
};

struct Table {
    std::string caption;              // "表1 计算条件"
    std::vector<std::string> header;  // units in brackets: "As,req（mm²）"
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> numeric;  // per column: right-aligned
    std::vector<std::string> plain;
};

// A drawing in millimetres, y downwards from the top left corner.
struct Point {
    double x = 0, y = 0;
};
struct Colour {
    int r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};
enum class Anchor { Start, Middle, End };
struct Shape {
    enum class Kind { Polyline, Area, Label } kind = Kind::Polyline;
    std::vector<Point> points;  // Polyline (a line has two), Area (closed); Label: its baseline start
    Colour colour;              // of the line, the fill or the text
    double width = 0.25;        // line width, mm
    bool dashed = false;
    std::string text;   // Label
    double size = 2.8;  // Label: text height, mm
    Anchor anchor = Anchor::Start;
};
struct Figure {
    std::string caption;  // "图1 侧压力标准值"
    double width = 0, height = 0;
    std::vector<Shape> shapes;
};

using Block = std::variant<Heading, Paragraph, Table, Figure>;

struct Document {
    std::string title;  // the book's title, on page 1
    std::vector<std::string> plainTitle;
    std::string program;  // the page header: program and version,
    std::string subject;  // the wall (its name or file),
    std::string edition;  // the codes checked against,
    std::string date;     // and in the footer beside "第 N 页 / 共 M 页"
    std::vector<Block> blocks;
};

// The plain text: the lines of every block in order; and as one text, each line ended by CR LF.
std::vector<std::string> plainLines(const Document& document);
std::string plainText(const Document& document);

// An SVG of the figure, in millimetres (the fonts named as the book's).
std::string svgOf(const Figure& figure);

// The whole book as the word processor takes it (JSON, UTF-8): header, footer, blocks with their
// runs, tables with their alignment, figures as SVG.
std::string bookJson(const Document& document);

// The fonts the book names.
inline constexpr std::string_view kBodyFont = document_fonts::kBody;
inline constexpr std::string_view kHeadingFont = document_fonts::kHeading;
inline constexpr std::string_view kLatinFont = document_fonts::kLatin;

}  // namespace wallcalc::report::book
