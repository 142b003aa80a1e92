#include "office/helper/book.h"

#include <algorithm>
#include <nlohmann/json.hpp>

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
#include <com/sun/star/style/NumberingType.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/PageNumberType.hpp>
#include <com/sun/star/text/TextContentAnchorType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <rtl/ustring.hxx>

namespace wallcalc::helper {
namespace {

namespace css = com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using nlohmann::json;
using rtl::OUString;

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

// Text runs at a cursor: lowered and raised runs at 58 % of the height, as Writer's own.
void insertRuns(const Reference<css::text::XText>& text, const Reference<css::text::XTextCursor>& cursor,
                const json& runs) {
    const auto at = props(cursor);
    for (const json& run : runs) {
        const std::string script = run.value("script", "");
        const sal_Int16 escapement = script == "sub" ? -33 : script == "super" ? 33 : 0;
        at->setPropertyValue("CharEscapement", Any(escapement));
        at->setPropertyValue("CharEscapementHeight", Any(static_cast<sal_Int8>(escapement ? 58 : 100)));
        text->insertString(range(cursor), ustr(run.value("text", "")), false);
    }
    at->setPropertyValue("CharEscapement", Any(static_cast<sal_Int16>(0)));
    at->setPropertyValue("CharEscapementHeight", Any(static_cast<sal_Int8>(100)));
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
        s->setPropertyValue("CharFontName", Any(ustr(fonts.value("latin", "Times New Roman"))));
        s->setPropertyValue("CharFontNameAsian", Any(ustr(fonts.value(style.asian, "SimSun"))));
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

void build(const Reference<css::uno::XComponentContext>& context, const Reference<css::text::XTextDocument>& document,
           const std::string& bookJson) {
    const json book = json::parse(bookJson, nullptr, false);
    if (book.is_discarded() || !book.is_object())
        throw css::lang::IllegalArgumentException(ustr("计算书的内容无法读取"), {}, 0);
    setFonts(document, book.value("fonts", json::object()));
    setPage(document, book);

    Reference<css::lang::XMultiServiceFactory> factory(document, UNO_QUERY_THROW);
    Reference<css::text::XText> text = document->getText();
    Reference<css::text::XTextCursor> cursor = text->createTextCursor();
    const auto at = props(cursor);
    bool fresh = true;  // the cursor stands in an empty paragraph of its own
    auto paragraph = [&](const char* style, css::style::ParagraphAdjust adjust) {
        if (!fresh) text->insertControlCharacter(range(cursor), css::text::ControlCharacter::PARAGRAPH_BREAK, false);
        fresh = false;
        at->setPropertyValue("ParaStyleName", Any(OUString::createFromAscii(style)));
        at->setPropertyValue("ParaAdjust", Any(adjust));
    };
    using css::style::ParagraphAdjust_CENTER;
    using css::style::ParagraphAdjust_LEFT;
    using css::style::ParagraphAdjust_RIGHT;

    paragraph("Title", ParagraphAdjust_CENTER);
    text->insertString(range(cursor), ustr(book.value("title", "")), false);
    for (const json& block : book.value("blocks", json::array())) {
        const std::string kind = block.value("kind", "");
        if (kind == "heading") {
            const int level = std::clamp(block.value("level", 1), 1, 3);
            paragraph(level == 1 ? "Heading 1" : level == 2 ? "Heading 2" : "Heading 3", ParagraphAdjust_LEFT);
            insertRuns(text, cursor, block["runs"]);
        } else if (kind == "paragraph") {
            paragraph("Standard", ParagraphAdjust_LEFT);
            insertRuns(text, cursor, block["runs"]);
        } else if (kind == "table") {
            const json& rows = block["rows"];
            const json& numeric = block["numeric"];
            const sal_Int32 columns = rows.empty() ? 0 : static_cast<sal_Int32>(rows[0].size());
            if (columns == 0 || columns > 26) continue;
            if (const std::string caption = block.value("caption", ""); !caption.empty()) {
                paragraph("Caption", ParagraphAdjust_CENTER);
                text->insertString(range(cursor), ustr(caption), false);
            }
            paragraph("Standard", ParagraphAdjust_LEFT);
            Reference<css::text::XTextTable> table(factory->createInstance("com.sun.star.text.TextTable"),
                                                   UNO_QUERY_THROW);
            table->initialize(static_cast<sal_Int32>(rows.size()), columns);
            // The table goes in before the cursor's paragraph, which stays empty after it.
            text->insertTextContent(range(cursor), Reference<css::text::XTextContent>(table, UNO_QUERY_THROW), false);
            fresh = true;
            props(table)->setPropertyValue("RepeatHeadline", Any(true));
            for (std::size_t r = 0; r < rows.size(); ++r)
                for (sal_Int32 c = 0; c < columns && c < static_cast<sal_Int32>(rows[r].size()); ++c) {
                    const std::string name = std::string(1, static_cast<char>('A' + c)) + std::to_string(r + 1);
                    Reference<css::text::XText> cell(table->getCellByName(ustr(name)), UNO_QUERY_THROW);
                    Reference<css::text::XTextCursor> in = cell->createTextCursor();
                    const auto p = props(in);
                    p->setPropertyValue("ParaStyleName",
                                        Any(OUString::createFromAscii(r == 0 ? "Table Heading" : "Table Contents")));
                    const bool right = r > 0 && static_cast<std::size_t>(c) < numeric.size() && numeric[c] == true;
                    p->setPropertyValue("ParaAdjust", Any(r == 0  ? ParagraphAdjust_CENTER
                                                          : right ? ParagraphAdjust_RIGHT
                                                                  : ParagraphAdjust_LEFT));
                    insertRuns(cell, in, rows[r][c]);
                }
        } else if (kind == "figure") {
            const std::string svg = block.value("svg", "");
            paragraph("Standard", ParagraphAdjust_CENTER);
            css::uno::Sequence<sal_Int8> bytes(reinterpret_cast<const sal_Int8*>(svg.data()),
                                               static_cast<sal_Int32>(svg.size()));
            Reference<css::io::XInputStream> stream(
                css::io::SequenceInputStream::createStreamFromSequence(context, bytes).get());
            css::uno::Sequence<css::beans::PropertyValue> source(1);
            source.getArray()[0].Name = "InputStream";
            source.getArray()[0].Value <<= stream;
            Reference<css::graphic::XGraphic> graphic =
                css::graphic::GraphicProvider::create(context)->queryGraphic(source);
            const auto picture = props(factory->createInstance("com.sun.star.text.TextGraphicObject"));
            picture->setPropertyValue("Graphic", Any(graphic));
            picture->setPropertyValue("AnchorType", Any(css::text::TextContentAnchorType_AS_CHARACTER));
            picture->setPropertyValue("Width", Any(static_cast<sal_Int32>(block.value("width", 150.0) * 100)));
            picture->setPropertyValue("Height", Any(static_cast<sal_Int32>(block.value("height", 100.0) * 100)));
            text->insertTextContent(range(cursor), Reference<css::text::XTextContent>(picture, UNO_QUERY_THROW), false);
            paragraph("Caption", ParagraphAdjust_CENTER);
            text->insertString(range(cursor), ustr(block.value("caption", "")), false);
        }
    }
}

}  // namespace

}  // namespace wallcalc::helper
