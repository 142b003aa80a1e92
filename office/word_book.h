#pragma once
// A book (the JSON form of report/document.h) laid out as Word builds it: paragraphs with the
// built-in style they take (by its WdBuiltinStyle index, which every language of Word knows, not
// by a localised name), the lowered and raised runs as spans of UTF-16 units into the paragraph's
// text (Word's character positions), tables with their header row and right-aligned columns,
// figures as SVG with their size in points, the fonts of the styles, the page header, and the
// footer's text with the places of its PAGE and NUMPAGES fields.
//
// Portable: the Word backend (word_automation.h) makes the calls on Windows; the layout itself is
// worked out and tested anywhere.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace wallcalc::word {

// WdBuiltinStyle.
inline constexpr long kStyleNormal = -1;
inline constexpr long kStyleHeading1 = -2;  // Heading 2 and 3 follow: -3, -4
inline constexpr long kStyleHeader = -32;
inline constexpr long kStyleFooter = -33;
inline constexpr long kStyleCaption = -35;
inline constexpr long kStyleTitle = -63;
// WdParagraphAlignment.
inline constexpr long kAlignLeft = 0;
inline constexpr long kAlignCenter = 1;
inline constexpr long kAlignRight = 2;
// WdFieldType.
inline constexpr long kFieldPage = 33;
inline constexpr long kFieldNumPages = 26;
// WdLanguageID of the East Asian text.
inline constexpr long kSimplifiedChinese = 2052;

// Part of a text set lowered or raised, in UTF-16 units from the start of the text.
struct Span {
    std::size_t from = 0, length = 0;
    bool raised = false;  // else lowered
    bool operator==(const Span&) const = default;
};

// A text as Word takes it: UTF-16, no control character (each becomes a space, so that no run
// breaks a paragraph or a cell), the report's private-use symbols in their standard forms.
struct Text {
    std::u16string text;
    std::vector<Span> spans;
};

struct Paragraph {
    long style = kStyleNormal;
    long alignment = kAlignLeft;
    Text text;
};

struct Table {
    std::vector<std::vector<Text>> rows;  // the header row first; every row `columns` cells
    std::size_t columns = 0;
    std::vector<bool> numeric;  // per column: right-aligned below the header
};

struct Figure {
    std::string svg;               // UTF-8, as written to the picture's file
    double width = 0, height = 0;  // points
};

using Block = std::variant<Paragraph, Table, Figure>;

// The font of one built-in style: the Latin font is the book's one for all.
struct StyleFont {
    long style = kStyleNormal;
    std::u16string farEast;  // the Chinese text's font
    double size = 0;         // points
    bool bold = false;
};

struct Book {
    std::u16string latinFont;
    std::vector<StyleFont> styles;
    std::u16string header;
    std::u16string footer;  // "第  页 / 共  页　　DATE": the fields go in at these places
    std::size_t pageAt = 0, pagesAt = 0;
    std::vector<Block> blocks;  // the title paragraph first
};

// The book of `json`, or FaultError 440 where it cannot be read. A font list ("SimSun;Noto Serif
// CJK SC") gives Word its first name. A table's caption is a Caption paragraph above it, a
// figure's one below it; a table without columns, or with more than Word's 63, is left out.
Book bookOf(std::string_view json);

// UTF-8 as UTF-16; a byte outside a well-formed sequence becomes U+FFFD.
std::u16string utf16(std::string_view utf8);

}  // namespace wallcalc::word
