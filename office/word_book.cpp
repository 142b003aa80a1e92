#include "office/word_book.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/utf8.h"
#include "office/export_fault.h"
#include "office/plain_symbols.h"

namespace wallcalc::word {
namespace {

using nlohmann::json;

constexpr std::size_t kMostColumns = 63;  // Word's limit for a table
constexpr double kPointsPerMm = 72.0 / 25.4;

// The first font of a list.
std::u16string firstFont(const std::string& list) { return utf16(list.substr(0, list.find(';'))); }

// A text for Word: every control character a space.
std::u16string wordText(const std::string& utf8) {
    std::u16string text = utf16(standardSymbols(utf8));
    for (char16_t& c : text)
        if (c < 0x20) c = u' ';
    return text;
}

Text textOf(const json& runs) {
    Text out;
    for (const json& run : runs) {
        const std::u16string piece = wordText(run.value("text", ""));
        const std::string script = run.value("script", "");
        if ((script == "sub" || script == "super") && !piece.empty())
            out.spans.push_back({out.text.size(), piece.size(), script == "super"});
        out.text += piece;
    }
    return out;
}

Text plain(const std::string& utf8) { return {wordText(utf8), {}}; }

void addTable(Book& book, const json& block) {
    const json& rows = block.at("rows");
    const std::size_t columns = rows.empty() ? 0 : rows.at(0).size();
    if (columns == 0 || columns > kMostColumns) return;
    if (const std::string caption = block.value("caption", ""); !caption.empty())
        book.blocks.push_back(Paragraph{kStyleCaption, kAlignCenter, plain(caption)});
    Table table;
    table.columns = columns;
    for (const json& row : rows) {
        std::vector<Text> cells;
        for (std::size_t c = 0; c < columns; ++c) cells.push_back(c < row.size() ? textOf(row[c]) : Text{});
        table.rows.push_back(std::move(cells));
    }
    const json numeric = block.value("numeric", json::array());
    for (std::size_t c = 0; c < columns; ++c) table.numeric.push_back(c < numeric.size() && numeric[c] == true);
    book.blocks.push_back(std::move(table));
}

Book parse(const json& source) {
    Book book;
    const json fonts = source.value("fonts", json::object());
    book.latinFont = firstFont(fonts.value("latin", "Times New Roman"));
    const std::u16string body = firstFont(fonts.value("body", "SimSun"));
    const std::u16string heading = firstFont(fonts.value("heading", "SimHei"));
    book.styles = {{kStyleNormal, body, 10.5, false},       {kStyleHeading1, heading, 16, true},
                   {kStyleHeading1 - 1, heading, 13, true}, {kStyleHeading1 - 2, heading, 12, true},
                   {kStyleTitle, heading, 20, true},        {kStyleCaption, body, 10, false},
                   {kStyleHeader, body, 9, false},          {kStyleFooter, body, 9, false}};

    book.header = wordText(source.value("header", ""));
    const std::u16string before = u"第 ", between = u" 页 / 共 ";
    book.footer = before + between + u" 页　　" + wordText(source.value("date", ""));
    book.pageAt = before.size();
    book.pagesAt = before.size() + between.size();

    book.blocks.push_back(Paragraph{kStyleTitle, kAlignCenter, plain(source.value("title", ""))});
    for (const json& block : source.value("blocks", json::array())) {
        const std::string kind = block.value("kind", "");
        if (kind == "heading") {
            const long level = std::clamp(block.value("level", 1L), 1L, 3L);
            book.blocks.push_back(Paragraph{kStyleHeading1 - (level - 1), kAlignLeft, textOf(block.at("runs"))});
        } else if (kind == "paragraph") {
            book.blocks.push_back(Paragraph{kStyleNormal, kAlignLeft, textOf(block.at("runs"))});
        } else if (kind == "table") {
            addTable(book, block);
        } else if (kind == "figure") {
            book.blocks.push_back(Figure{block.value("svg", ""), block.value("width", 150.0) * kPointsPerMm,
                                         block.value("height", 100.0) * kPointsPerMm});
            book.blocks.push_back(Paragraph{kStyleCaption, kAlignCenter, plain(block.value("caption", ""))});
        }
    }
    return book;
}

}  // namespace

std::u16string utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t n = utf8SequenceLength(utf8);
        if (n == 0) {
            out += u'\uFFFD';
            utf8.remove_prefix(1);
            continue;
        }
        char32_t c = utf8CodePoint(utf8, n);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        utf8.remove_prefix(n);
    }
    return out;
}

Book bookOf(std::string_view text) {
    const json source = json::parse(text, nullptr, false);
    try {
        if (!source.is_discarded() && source.is_object()) return parse(source);
    } catch (const json::exception&) {
    }
    throw export_fault::automation("计算书的内容无法读取");
}

}  // namespace wallcalc::word
