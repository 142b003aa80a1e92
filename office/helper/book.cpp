#include "office/helper/book.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <vector>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/io/SequenceInputStream.hpp>
#include <com/sun/star/io/XInputStream.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/style/NumberingType.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/PageNumberType.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XParagraphAppend.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextPortionAppend.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <rtl/ustring.hxx>

#include "core/document_fonts.h"

namespace wallcalc::helper {
namespace {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using nlohmann::json;
using rtl::OUString;

// Lowered and raised runs at 58 % of the height, as Writer's own.
sal_Int16 escapementOf(const json& run) {
    const std::string script = run.value("script", "");
    return script == "sub" ? -33 : script == "super" ? 33 : 0;
}
sal_Int8 escapementHeight(sal_Int16 escapement) { return static_cast<sal_Int8>(escapement ? 58 : 100); }

OUString ustr(const std::string& text) {
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

// The cursor as the range the text calls take (the SDK's references do not cast up by themselves).
Reference<css::text::XTextRange> range(const Reference<css::text::XTextCursor>& cursor) {
    return Reference<css::text::XTextRange>(cursor.get());
}

Reference<css::beans::XPropertySet> props(const Reference<css::uno::XInterface>& object) {
    return Reference<css::beans::XPropertySet>(object, UNO_QUERY_THROW);
}

// Text runs at a cursor. Every call is a round trip to the office, so the position is set only where a run changes it
// (a new cursor stands on the line, and each call leaves it there).
void insertRuns(const Reference<css::text::XText>& text, const Reference<css::text::XTextCursor>& cursor,
                const json& runs) {
    const auto at = props(cursor);
    sal_Int16 current = 0;
    auto place = [&](sal_Int16 escapement) {
        if (escapement == current) return;
        at->setPropertyValue("CharEscapement", Any(escapement));
        at->setPropertyValue("CharEscapementHeight", Any(escapementHeight(escapement)));
        current = escapement;
    };
    for (const json& run : runs) {
        place(escapementOf(run));
        text->insertString(range(cursor), ustr(run.value("text", "")), false);
    }
    place(0);
}

// The text of runs all on the line, which a table takes in one call with its neighbours; none for
// runs that need a cursor of their own.
std::optional<std::string> plainOf(const json& runs) {
    std::string out;
    for (const json& run : runs) {
        if (!run.value("script", "").empty()) return std::nullopt;
        out += run.value("text", "");
    }
    return out;
}

// The fonts of the book's paragraph styles: Latin and Asian named separately, the Asian text in
// Simplified Chinese, so that where SimSun or SimHei is missing the office's substitute draws the
// mainland forms.
void setFonts(const Reference<css::text::XTextDocument>& document, const json& fonts) {
    Reference<css::container::XNameAccess> families =
        Reference<css::style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)->getStyleFamilies();
    Reference<css::container::XNameAccess> styles(families->getByName("ParagraphStyles"), UNO_QUERY_THROW);
    const css::lang::Locale chinese("zh", "CN", "");
    struct Style {
        const char* name;
        const char* asian;  // the font key of the asian text
        float height;       // pt; 0 keeps the style's own
        bool bold;
    };
    for (const Style& style :
         {Style{"Standard", "body", 10.5f, false}, Style{"Heading", "heading", 0, true},
          Style{"Heading 1", "heading", 16, true}, Style{"Heading 2", "heading", 13, true},
          Style{"Heading 3", "heading", 12, true}, Style{"Title", "heading", 20, true},
          Style{"Caption", "body", 10, false}, Style{"Header", "body", 9, false}, Style{"Footer", "body", 9, false}}) {
        if (!styles->hasByName(OUString::createFromAscii(style.name))) continue;
        const auto s =
            props(styles->getByName(OUString::createFromAscii(style.name)).get<Reference<css::uno::XInterface>>());
        s->setPropertyValue("CharFontName", Any(ustr(fonts.value("latin", std::string(document_fonts::kLatin)))));
        s->setPropertyValue("CharFontNameAsian",
                            Any(ustr(fonts.value(style.asian, std::string(style.asian == std::string_view("heading")
                                                                              ? document_fonts::kHeading
                                                                              : document_fonts::kBody)))));
        s->setPropertyValue("CharLocaleAsian", Any(chinese));
        if (style.height > 0) {
            s->setPropertyValue("CharHeight", Any(style.height));
            s->setPropertyValue("CharHeightAsian", Any(style.height));
        }
        if (style.bold) {
            s->setPropertyValue("CharWeight", Any(css::awt::FontWeight::BOLD));
            s->setPropertyValue("CharWeightAsian", Any(css::awt::FontWeight::BOLD));
        }
    }
}

}  // namespace

void setReportFonts(const Reference<css::text::XTextDocument>& document) {
    Reference<css::container::XNameAccess> families =
        Reference<css::style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)->getStyleFamilies();
    Reference<css::container::XNameAccess> styles(families->getByName("ParagraphStyles"), UNO_QUERY_THROW);
    const auto standard = props(styles->getByName("Standard").get<Reference<css::uno::XInterface>>());
    standard->setPropertyValue("CharFontName", Any(ustr(std::string(document_fonts::kLatin))));
    standard->setPropertyValue("CharFontNameAsian", Any(ustr(std::string(document_fonts::kBody))));
    standard->setPropertyValue("CharLocaleAsian", Any(css::lang::Locale("zh", "CN", "")));
}

namespace {

// The page header (program, wall, edition) and footer ("第 N 页 / 共 M 页" with the office's page
// fields, and the date) of the default page style.
void setPage(const Reference<css::text::XTextDocument>& document, const json& book) {
    Reference<css::container::XNameAccess> families =
        Reference<css::style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)->getStyleFamilies();
    Reference<css::container::XNameAccess> pages(families->getByName("PageStyles"), UNO_QUERY_THROW);
    const auto page = props(pages->getByName("Standard").get<Reference<css::uno::XInterface>>());
    page->setPropertyValue("HeaderIsOn", Any(true));
    page->setPropertyValue("FooterIsOn", Any(true));
    Reference<css::text::XText> header(page->getPropertyValue("HeaderText"), UNO_QUERY_THROW);
    header->setString(ustr(book.value("header", "")));
    Reference<css::text::XText> footer(page->getPropertyValue("FooterText"), UNO_QUERY_THROW);
    Reference<css::text::XTextCursor> cursor = footer->createTextCursor();
    props(cursor)->setPropertyValue("ParaAdjust", Any(css::style::ParagraphAdjust_CENTER));
    Reference<css::lang::XMultiServiceFactory> factory(document, UNO_QUERY_THROW);
    auto field = [&](const char* service) {
        Reference<css::text::XTextContent> content(factory->createInstance(OUString::createFromAscii(service)),
                                                   UNO_QUERY_THROW);
        props(content)->setPropertyValue("NumberingType", Any(css::style::NumberingType::ARABIC));
        return content;
    };
    footer->insertString(range(cursor), ustr("第 "), false);
    const Reference<css::text::XTextContent> number = field("com.sun.star.text.TextField.PageNumber");
    props(number)->setPropertyValue("SubType", Any(css::text::PageNumberType_CURRENT));
    footer->insertTextContent(range(cursor), number, false);
    footer->insertString(range(cursor), ustr(" 页 / 共 "), false);
    footer->insertTextContent(range(cursor), field("com.sun.star.text.TextField.PageCount"), false);
    footer->insertString(range(cursor), ustr(" 页　　" + book.value("date", "")), false);
}

// A table's cells: the alignment set a row or a column at a time, every
// plain text in one call, and only the cells with lowered or raised runs one by one.
void fillTable(const Reference<css::text::XTextTable>& table, const json& rows, const json& numeric,
               sal_Int32 columns) {
    using css::style::ParagraphAdjust_CENTER;
    using css::style::ParagraphAdjust_LEFT;
    using css::style::ParagraphAdjust_RIGHT;
    const Reference<css::table::XCellRange> cells(table, UNO_QUERY_THROW);
    const sal_Int32 count = static_cast<sal_Int32>(rows.size());
    auto column = [](sal_Int32 c) { return std::string(1, static_cast<char>('A' + c)); };
    // A new table's first row is in the style Table Heading, the others in Table Contents.
    auto align = [&](const std::string& name, css::style::ParagraphAdjust adjust) {
        props(cells->getCellRangeByName(ustr(name)))->setPropertyValue("ParaAdjust", Any(adjust));
    };
    align("A1:" + column(columns - 1) + "1", ParagraphAdjust_CENTER);
    if (count > 1)
        for (sal_Int32 c = 0; c < columns; ++c) {
            const bool right = static_cast<std::size_t>(c) < numeric.size() && numeric[c] == true;
            align(column(c) + "2:" + column(c) + std::to_string(count),
                  right ? ParagraphAdjust_RIGHT : ParagraphAdjust_LEFT);
        }
    css::uno::Sequence<css::uno::Sequence<Any>> data(count);
    std::vector<std::pair<sal_Int32, sal_Int32>> scripted;
    for (sal_Int32 r = 0; r < count; ++r) {
        css::uno::Sequence<Any> row(columns);
        for (sal_Int32 c = 0; c < columns; ++c) {
            const json& runs = static_cast<std::size_t>(c) < rows[r].size() ? rows[r][c] : json::array();
            const std::optional<std::string> plain = plainOf(runs);
            if (!plain) scripted.emplace_back(r, c);
            row.getArray()[c] <<= ustr(plain.value_or(""));
        }
        data.getArray()[r] = row;
    }
    Reference<css::sheet::XCellRangeData>(table, UNO_QUERY_THROW)->setDataArray(data);
    for (const auto& [r, c] : scripted) {
        Reference<css::text::XText> cell(table->getCellByName(ustr(column(c) + std::to_string(r + 1))),
                                         UNO_QUERY_THROW);
        insertRuns(cell, cell->createTextCursor(), rows[r][c]);
    }
}

void build(const Reference<css::uno::XComponentContext>& context, const Reference<css::text::XTextDocument>& document,
           const std::string& bookJson);

}  // namespace

void buildBook(const Reference<css::uno::XComponentContext>& context,
               const Reference<css::text::XTextDocument>& document, const std::string& bookJson) {
    try {
        build(context, document, bookJson);
    } catch (const json::exception&) {
        throw css::lang::IllegalArgumentException(ustr("计算书的内容无法读取"), {}, 0);
    }
}

namespace {

// A sequence of the given elements (the SDK gives no initializer list outside the office).
template <class E, class... More>
css::uno::Sequence<E> sequence(E first, More... more) {
    const E elements[] = {std::move(first), E(std::move(more))...};
    return css::uno::Sequence<E>(elements, static_cast<sal_Int32>(std::size(elements)));
}

css::beans::PropertyValue property(const char* name, Any value) {
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = std::move(value);
    return p;
}

// The body text written as the office's own importers write it: each run appended with its
// position on the line, each paragraph closed with its style and alignment. One call each, where
// a cursor takes three to five, and every call is a round trip to the office. A run names its
// position even on the line, as appended text would otherwise take on a lowered run before it.
class Body {
public:
    explicit Body(const Reference<css::text::XText>& text)
        : portions_(text, UNO_QUERY_THROW), paragraphs_(text, UNO_QUERY_THROW) {}

    void append(const std::string& text, sal_Int16 escapement = 0) {
        if (text.empty()) return;
        const auto position = sequence(property("CharEscapement", Any(escapement)),
                                       property("CharEscapementHeight", Any(escapementHeight(escapement))));
        portions_->appendTextPortion(ustr(text), position);
        open_ = true;
    }
    void appendRuns(const json& runs) {
        for (const json& run : runs) append(run.value("text", ""), escapementOf(run));
    }
    // Ends the last paragraph in `style`; a new, empty one follows it.
    void close(const char* style, css::style::ParagraphAdjust adjust) {
        paragraphs_->finishParagraph(sequence(property("ParaStyleName", Any(OUString::createFromAscii(style))),
                                              property("ParaAdjust", Any(adjust))));
        open_ = false;
    }
    bool open() const { return open_; }

private:
    Reference<css::text::XTextPortionAppend> portions_;
    Reference<css::text::XParagraphAppend> paragraphs_;
    bool open_ = false;
};

void build(const Reference<css::uno::XComponentContext>& context, const Reference<css::text::XTextDocument>& document,
           const std::string& bookJson) {
    const json book = json::parse(bookJson, nullptr, false);
    if (book.is_discarded() || !book.is_object())
        throw css::lang::IllegalArgumentException(ustr("计算书的内容无法读取"), {}, 0);
    setFonts(document, book.value("fonts", json::object()));
    setPage(document, book);

    using css::style::ParagraphAdjust_CENTER;
    using css::style::ParagraphAdjust_LEFT;
    Reference<css::lang::XMultiServiceFactory> factory(document, UNO_QUERY_THROW);
    Reference<css::text::XText> text = document->getText();
    Body body(text);
    // Tables and pictures go in at a cursor in the empty last paragraph.
    Reference<css::text::XTextCursor> cursor = text->createTextCursor();
    auto insertAtEnd = [&](const Reference<css::text::XTextContent>& content) {
        cursor->gotoEnd(false);
        text->insertTextContent(range(cursor), content, false);
    };

    body.append(book.value("title", ""));
    body.close("Title", ParagraphAdjust_CENTER);
    bool tableLast = false;  // a table stands before the empty last paragraph
    for (const json& block : book.value("blocks", json::array())) {
        const std::string kind = block.value("kind", "");
        if (kind == "heading") {
            const int level = std::clamp(block.value("level", 1), 1, 3);
            body.appendRuns(block["runs"]);
            body.close(level == 1 ? "Heading 1" : level == 2 ? "Heading 2" : "Heading 3", ParagraphAdjust_LEFT);
        } else if (kind == "paragraph") {
            body.appendRuns(block["runs"]);
            body.close("Standard", ParagraphAdjust_LEFT);
        } else if (kind == "table") {
            const json& rows = block["rows"];
            const sal_Int32 columns = rows.empty() ? 0 : static_cast<sal_Int32>(rows[0].size());
            if (columns == 0 || columns > 26) continue;
            if (const std::string caption = block.value("caption", ""); !caption.empty()) {
                body.append(caption);
                body.close("Caption", ParagraphAdjust_CENTER);
            }
            Reference<css::text::XTextTable> table(factory->createInstance("com.sun.star.text.TextTable"),
                                                   UNO_QUERY_THROW);
            table->initialize(static_cast<sal_Int32>(rows.size()), columns);
            // The table goes in before the empty last paragraph, which the next block fills.
            insertAtEnd(Reference<css::text::XTextContent>(table, UNO_QUERY_THROW));
            props(table)->setPropertyValue("RepeatHeadline", Any(true));
            fillTable(table, rows, block["numeric"], columns);
            tableLast = true;
            continue;
        } else if (kind == "figure") {
            const std::string svg = block.value("svg", "");
            css::uno::Sequence<sal_Int8> bytes(reinterpret_cast<const sal_Int8*>(svg.data()),
                                               static_cast<sal_Int32>(svg.size()));
            Reference<css::io::XInputStream> stream(
                css::io::SequenceInputStream::createStreamFromSequence(context, bytes).get());
            const auto source = sequence(property("InputStream", Any(stream)));
            Reference<css::graphic::XGraphic> graphic =
                css::graphic::GraphicProvider::create(context)->queryGraphic(source);
            const auto picture = props(factory->createInstance("com.sun.star.text.TextGraphicObject"));
            picture->setPropertyValue("Graphic", Any(graphic));
            picture->setPropertyValue("AnchorType", Any(css::text::TextContentAnchorType_AS_CHARACTER));
            picture->setPropertyValue("Width", Any(static_cast<sal_Int32>(block.value("width", 150.0) * 100)));
            picture->setPropertyValue("Height", Any(static_cast<sal_Int32>(block.value("height", 100.0) * 100)));
            insertAtEnd(Reference<css::text::XTextContent>(picture, UNO_QUERY_THROW));
            body.close("Standard", ParagraphAdjust_CENTER);
            body.append(block.value("caption", ""));
            body.close("Caption", ParagraphAdjust_CENTER);
        }
        tableLast = false;
    }
    // The paragraph the last close began stays only where a table needs one after it.
    if (!tableLast && !body.open()) {
        cursor->gotoEnd(false);
        cursor->goLeft(1, true);
        cursor->setString(OUString());
    }
}

}  // namespace

}  // namespace wallcalc::helper
