// The book built in a Word document through its object model (word_automation.h). The document
// grows at its end: each text block goes into the document's last paragraph (Paragraphs.Last,
// empty when the block starts, a paragraph mark added after the previous block otherwise) with
// InsertBefore, then takes its style by built-in index and its alignment, and its lowered and
// raised spans are set on the same range moved by SetRange. A table or a picture goes in at the
// start of an empty last paragraph, the range collapsed first so that nothing is replaced; after a
// table Word keeps a paragraph of its own, which the next block takes.
//
// The calls made for every block name their member with its class ("Range.Text"), so that the
// session asks Word for each member's DISPID once (word_automation.h).

#ifdef _WIN32

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "office/word_automation.h"

namespace wallcalc::word {
namespace {

constexpr long kCollapseStart = 1;        // wdCollapseStart
constexpr long kLineStyleSingle = 1;      // wdLineStyleSingle
constexpr long kHeaderFooterPrimary = 1;  // wdHeaderFooterPrimary

std::wstring wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// `object`.Item(index) or another member called with one integer.
void itemOf(Session& session, IDispatch* object, const wchar_t* name, long index, Ref& into) {
    Variant argument;
    argument.setLong(index);
    session.getObject(object, name, &argument.v, 1, into);
}

void method(Session& session, IDispatch* object, const wchar_t* name, VARIANT* args = nullptr, UINT count = 0) {
    session.invoke(object, name, DISPATCH_METHOD, args, count, nullptr);
}

void collapseToStart(Session& session, IDispatch* range) {
    Variant direction;
    direction.setLong(kCollapseStart);
    method(session, range, L"Range.Collapse", &direction.v, 1);
}

void align(Session& session, IDispatch* range, long alignment) {
    Ref format;
    session.getObject(range, L"Range.ParagraphFormat", nullptr, 0, format);
    session.putLong(format.get(), L"ParagraphFormat.Alignment", alignment);
}

// The lowered and raised spans of `text`, which `range` holds from its start; the range is moved.
void setSpans(Session& session, IDispatch* range, const Text& text) {
    if (text.spans.empty()) return;
    const long start = session.getLong(range, L"Range.Start");
    for (const Span& span : text.spans) {
        Variant bounds[2];  // IDispatch's order: End, Start
        bounds[1].setLong(start + static_cast<long>(span.from));
        bounds[0].setLong(start + static_cast<long>(span.from + span.length));
        method(session, range, L"Range.SetRange", &bounds[0].v, 2);
        Ref font;
        session.getObject(range, L"Range.Font", nullptr, 0, font);
        session.putBool(font.get(), span.raised ? L"Superscript" : L"Subscript", true);
    }
}

void setStyles(Session& session, IDispatch* document, const Book& book) {
    Ref styles;
    session.getObject(document, L"Styles", nullptr, 0, styles);
    for (const StyleFont& s : book.styles) {
        Ref style, font;
        itemOf(session, styles.get(), L"Styles.Item", s.style, style);
        session.putLong(style.get(), L"Style.LanguageIDFarEast", kSimplifiedChinese);
        session.getObject(style.get(), L"Style.Font", nullptr, 0, font);
        session.putText(font.get(), L"Font.Name", wide(book.latinFont));
        session.putText(font.get(), L"Font.NameFarEast", wide(s.farEast));
        session.putSingle(font.get(), L"Font.Size", static_cast<float>(s.size));
        session.putBool(font.get(), L"Font.Bold", s.bold);
    }
}

// The first section's primary header or footer, its whole range.
void headerFooterRange(Session& session, IDispatch* section, const wchar_t* which, Ref& range) {
    Ref all, one;
    session.getObject(section, which, nullptr, 0, all);
    itemOf(session, all.get(), L"Item", kHeaderFooterPrimary, one);
    session.getObject(one.get(), L"Range", nullptr, 0, range);
}

void addField(Session& session, IDispatch* range, IDispatch* fields, long at, long type) {
    Variant bounds[2];  // End, Start
    bounds[0].setLong(at);
    bounds[1].setLong(at);
    method(session, range, L"Range.SetRange", &bounds[0].v, 2);
    Variant args[2];  // Type, Range
    args[0].setLong(type);
    args[1].setObject(range);
    Ref field;
    session.getObject(fields, L"Add", &args[0].v, 2, field);
}

void setPage(Session& session, IDispatch* document, const Book& book) {
    Ref sections, section;
    session.getObject(document, L"Sections", nullptr, 0, sections);
    itemOf(session, sections.get(), L"Item", 1, section);
    {
        Ref header;
        headerFooterRange(session, section.get(), L"Headers", header);
        session.putText(header.get(), L"Text", wide(book.header));
    }
    Ref footer, fields;
    headerFooterRange(session, section.get(), L"Footers", footer);
    session.putText(footer.get(), L"Text", wide(book.footer));
    align(session, footer.get(), kAlignCenter);
    const long start = session.getLong(footer.get(), L"Start");
    session.getObject(footer.get(), L"Fields", nullptr, 0, fields);
    // The later place first, so that the field put in does not move it.
    addField(session, footer.get(), fields.get(), start + static_cast<long>(book.pagesAt), kFieldNumPages);
    addField(session, footer.get(), fields.get(), start + static_cast<long>(book.pageAt), kFieldPage);
}

// A figure's SVG as a file of its own in the temporary folder, removed when this goes.
class FigureFile {
public:
    explicit FigureFile(const std::string& svg) {
        static std::atomic<unsigned> made{0};
        wchar_t folder[MAX_PATH + 1];
        const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
        if (n == 0 || n > MAX_PATH) throw export_fault::automation("找不到临时文件夹，无法把插图交给文字处理软件");
        path_ = std::wstring(folder, n) + L"wallcalc-figure-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++made) + L".svg";
        std::ofstream file(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
        file.write(svg.data(), static_cast<std::streamsize>(svg.size()));
        if (!file.flush()) {
            file.close();
            DeleteFileW(path_.c_str());
            throw export_fault::automation("无法写入插图的临时文件：" + narrow(path_.c_str()));
        }
    }
    ~FigureFile() { DeleteFileW(path_.c_str()); }
    FigureFile(const FigureFile&) = delete;
    FigureFile& operator=(const FigureFile&) = delete;
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

class Builder {
public:
    Builder(Session& session, IDispatch* document) : session_(session), document_(document) {
        session_.getObject(document_, L"Paragraphs", nullptr, 0, paragraphs_);
    }

    void operator()(const Paragraph& p) {
        Ref range;
        nextParagraph(range);
        if (!p.text.text.empty()) {
            Variant text;
            text.setText(wide(p.text.text), "计算书");
            method(session_, range.get(), L"Range.InsertBefore", &text.v, 1);
        }
        session_.putLong(range.get(), L"Range.Style", p.style);
        align(session_, range.get(), p.alignment);
        setSpans(session_, range.get(), p.text);
    }

    void operator()(const Table& t) {
        Ref range, tables, table;
        nextParagraph(range);
        session_.putLong(range.get(), L"Range.Style", kStyleNormal);
        collapseToStart(session_, range.get());
        session_.getObject(document_, L"Document.Tables", nullptr, 0, tables);
        Variant args[3];  // NumColumns, NumRows, Range
        args[0].setLong(static_cast<long>(t.columns));
        args[1].setLong(static_cast<long>(t.rows.size()));
        args[2].setObject(range.get());
        session_.getObject(tables.get(), L"Tables.Add", &args[0].v, 3, table);
        // Word keeps an empty paragraph after the table: the next block's.
        fresh_ = true;
        {
            Ref borders;
            session_.getObject(table.get(), L"Table.Borders", nullptr, 0, borders);
            session_.putLong(borders.get(), L"Borders.Enable", kLineStyleSingle);
        }
        // The body's alignment for the whole table at once, that of most columns; the cells of
        // the other columns each their own.
        const auto numericColumns = std::count(t.numeric.begin(), t.numeric.end(), true);
        const bool bodyRight = static_cast<std::size_t>(numericColumns) * 2 > t.columns;
        {
            Ref whole;
            session_.getObject(table.get(), L"Table.Range", nullptr, 0, whole);
            align(session_, whole.get(), bodyRight ? kAlignRight : kAlignLeft);
        }
        {
            // The header row: repeated on every page the table runs over, bold and centred.
            Ref rows, row, rowRange, font;
            session_.getObject(table.get(), L"Table.Rows", nullptr, 0, rows);
            itemOf(session_, rows.get(), L"Rows.Item", 1, row);
            session_.putBool(row.get(), L"Row.HeadingFormat", true);
            session_.getObject(row.get(), L"Row.Range", nullptr, 0, rowRange);
            session_.getObject(rowRange.get(), L"Range.Font", nullptr, 0, font);
            session_.putBool(font.get(), L"Font.Bold", true);
            align(session_, rowRange.get(), kAlignCenter);
        }
        for (std::size_t r = 0; r < t.rows.size(); ++r)
            for (std::size_t c = 0; c < t.columns; ++c) {
                const Text& text = t.rows[r][c];
                const bool right = r > 0 && t.numeric[c];
                const bool ownAlignment = r > 0 && right != bodyRight;
                if (text.text.empty() && !ownAlignment) continue;
                Ref cell, cellRange;
                Variant at[2];  // Column, Row
                at[0].setLong(static_cast<long>(c + 1));
                at[1].setLong(static_cast<long>(r + 1));
                session_.getObject(table.get(), L"Table.Cell", &at[0].v, 2, cell);
                session_.getObject(cell.get(), L"Cell.Range", nullptr, 0, cellRange);
                if (ownAlignment) align(session_, cellRange.get(), right ? kAlignRight : kAlignLeft);
                if (text.text.empty()) continue;
                session_.putText(cellRange.get(), L"Range.Text", wide(text.text));
                setSpans(session_, cellRange.get(), text);
            }
    }

    void operator()(const Figure& f) {
        Ref range, shapes, shape;
        nextParagraph(range);
        session_.putLong(range.get(), L"Range.Style", kStyleNormal);
        align(session_, range.get(), kAlignCenter);
        collapseToStart(session_, range.get());
        session_.getObject(document_, L"Document.InlineShapes", nullptr, 0, shapes);
        const FigureFile file(f.svg);
        Variant args[4];  // Range, SaveWithDocument, LinkToFile, FileName
        args[0].setObject(range.get());
        args[1].v.vt = args[2].v.vt = VT_BOOL;
        args[1].v.boolVal = VARIANT_TRUE;
        args[2].v.boolVal = VARIANT_FALSE;
        args[3].setText(file.path(), "插图");
        session_.getObject(shapes.get(), L"InlineShapes.AddPicture", &args[0].v, 4, shape);
        session_.putSingle(shape.get(), L"InlineShape.Width", static_cast<float>(f.width));
        session_.putSingle(shape.get(), L"InlineShape.Height", static_cast<float>(f.height));
    }

private:
    // The range of the document's last paragraph, empty: a new one after the previous block.
    void nextParagraph(Ref& range) {
        lastParagraph(range);
        if (!fresh_) {
            method(session_, range.get(), L"Range.InsertParagraphAfter");
            lastParagraph(range);
        }
        fresh_ = false;
    }
    void lastParagraph(Ref& range) {
        Ref last;
        session_.getObject(paragraphs_.get(), L"Paragraphs.Last", nullptr, 0, last);
        session_.getObject(last.get(), L"Paragraph.Range", nullptr, 0, range);
    }

    Session& session_;
    IDispatch* document_;
    Ref paragraphs_;
    bool fresh_ = true;  // the last paragraph is empty and has no block yet
};

}  // namespace

void addBookDocument(Session& session, IDispatch* application, const Book& book, Ref& document) {
    {
        Ref documents;
        session.getObject(application, L"Documents", nullptr, 0, documents);
        session.getObject(documents.get(), L"Add", nullptr, 0, document);
    }
    setStyles(session, document.get(), book);
    setPage(session, document.get(), book);
    Builder builder(session, document.get());
    for (const Block& block : book.blocks) std::visit(builder, block);
}

}  // namespace wallcalc::word

#endif  // _WIN32
