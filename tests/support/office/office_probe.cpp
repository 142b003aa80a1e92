// Reads back what the export left in an office, for the tests, and ends a test office.
//
//   office-probe CONNECTION documents [DEADLINE_MS]
//       for each text document: "document <has location 0|1> <modified 0|1> <runs of
//       private-use characters> <of those, runs in the symbol font>", then one line
//       "paragraph <text>" per paragraph, with \ as \\, LF as \n and CR as \r
//   office-probe CONNECTION book=PATH [DEADLINE_MS]
//       opens the document at PATH hidden and says how it is built: "style <paragraph style>"
//       for each paragraph of the body, "table <rows> <columns> <text of A1>" for each table,
//       "graphic <MIME type> <width> <height>" (1/100 mm) for each picture, "header <text>" and
//       "footer <text>" of the first page's style and "field <PageNumber|PageCount>" for each
//       page field in its footer; then closes it
//   office-probe CONNECTION close [DEADLINE_MS]
//       closes every text document without saving it (what nobody looks at in a headless office
//       only holds its memory)
//   office-probe CONNECTION terminate [DEADLINE_MS]
//       asks the office to terminate (a headless office does so without asking about the
//       unsaved documents)
// Connecting is retried until the deadline (default 20 s); exit status 2 when it never answers.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextGraphicObjectsSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/text/XTextTablesSupplier.hpp>
#include <com/sun/star/uno/DeploymentException.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <com/sun/star/util/XSearchDescriptor.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/ustring.hxx>

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

namespace {

std::string utf8(const OUString& text) {
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

// Runs of private-use characters, and how many of them are set in the program's symbol font.
std::pair<int, int> symbolRuns(const Reference<css::text::XTextDocument>& document) {
    Reference<css::util::XReplaceable> replaceable(document, UNO_QUERY_THROW);
    Reference<css::util::XSearchDescriptor> search = replaceable->createSearchDescriptor();
    search->setSearchString("[\\x{E000}-\\x{F8FF}]+");
    Reference<css::beans::XPropertySet>(search, UNO_QUERY_THROW)
        ->setPropertyValue("SearchRegularExpression", css::uno::Any(true));
    Reference<css::container::XIndexAccess> found = replaceable->findAll(search);
    int runs = 0, inFont = 0;
    for (sal_Int32 i = 0; found.is() && i < found->getCount(); ++i) {
        Reference<css::beans::XPropertySet> range(found->getByIndex(i), UNO_QUERY_THROW);
        OUString font;
        range->getPropertyValue("CharFontName") >>= font;
        ++runs;
        if (font == "Wallcalc Symbols") ++inFont;
    }
    return {runs, inFont};
}

void listDocuments(const Reference<css::frame::XDesktop2>& desktop) {
    Reference<css::container::XEnumeration> components = desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::text::XTextDocument> document(components->nextElement(), UNO_QUERY);
        if (!document.is()) continue;
        Reference<css::frame::XStorable> storable(document, UNO_QUERY_THROW);
        Reference<css::util::XModifiable> modifiable(document, UNO_QUERY_THROW);
        const auto [runs, inFont] = symbolRuns(document);
        std::printf("document %d %d %d %d\n", storable->hasLocation() ? 1 : 0, modifiable->isModified() ? 1 : 0, runs,
                    inFont);
        Reference<css::container::XEnumerationAccess> text(document->getText(), UNO_QUERY_THROW);
        Reference<css::container::XEnumeration> paragraphs = text->createEnumeration();
        while (paragraphs->hasMoreElements()) {
            Reference<css::text::XTextRange> paragraph(paragraphs->nextElement(), UNO_QUERY_THROW);
            std::printf("paragraph %s\n", escaped(utf8(paragraph->getString())).c_str());
        }
    }
}

Reference<css::beans::XPropertySet> props(const css::uno::Any& any) {
    return Reference<css::beans::XPropertySet>(any, UNO_QUERY_THROW);
}

void readBook(const Reference<css::frame::XDesktop2>& desktop, const std::string& path) {
    css::uno::Sequence<css::beans::PropertyValue> hidden(1);
    hidden.getArray()[0].Name = "Hidden";
    hidden.getArray()[0].Value <<= true;
    const OUString url = OUString::createFromAscii(("file://" + path).c_str());
    Reference<css::text::XTextDocument> document(desktop->loadComponentFromURL(url, "_blank", 0, hidden),
                                                 UNO_QUERY_THROW);
    Reference<css::container::XEnumerationAccess> text(document->getText(), UNO_QUERY_THROW);
    Reference<css::container::XEnumeration> paragraphs = text->createEnumeration();
    while (paragraphs->hasMoreElements()) {
        Reference<css::lang::XServiceInfo> element(paragraphs->nextElement(), UNO_QUERY_THROW);
        if (!element->supportsService("com.sun.star.text.Paragraph")) continue;
        OUString style;
        Reference<css::beans::XPropertySet>(element, UNO_QUERY_THROW)->getPropertyValue("ParaStyleName") >>= style;
        std::printf("style %s\n", utf8(style).c_str());
    }
    Reference<css::container::XIndexAccess> tables(
        Reference<css::text::XTextTablesSupplier>(document, UNO_QUERY_THROW)->getTextTables(), UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < tables->getCount(); ++i) {
        Reference<css::text::XTextTable> table(tables->getByIndex(i), UNO_QUERY_THROW);
        Reference<css::text::XTextRange> first(table->getCellByName("A1"), UNO_QUERY_THROW);
        std::printf("table %d %d %s\n", static_cast<int>(table->getRows()->getCount()),
                    static_cast<int>(table->getColumns()->getCount()), escaped(utf8(first->getString())).c_str());
    }
    Reference<css::container::XIndexAccess> graphics(
        Reference<css::text::XTextGraphicObjectsSupplier>(document, UNO_QUERY_THROW)->getGraphicObjects(),
        UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < graphics->getCount(); ++i) {
        const auto picture = props(graphics->getByIndex(i));
        Reference<css::graphic::XGraphic> graphic(picture->getPropertyValue("Graphic"), UNO_QUERY);
        OUString mime;
        if (graphic.is())
            Reference<css::beans::XPropertySet>(graphic, UNO_QUERY_THROW)->getPropertyValue("MimeType") >>= mime;
        sal_Int32 width = 0, height = 0;
        picture->getPropertyValue("Width") >>= width;
        picture->getPropertyValue("Height") >>= height;
        std::printf("graphic %s %d %d\n", utf8(mime).c_str(), static_cast<int>(width), static_cast<int>(height));
    }
    OUString pageStyle;
    props(css::uno::Any(document->getText()->getStart()))->getPropertyValue("PageStyleName") >>= pageStyle;
    Reference<css::container::XNameAccess> pages(
        Reference<css::style::XStyleFamiliesSupplier>(document, UNO_QUERY_THROW)
            ->getStyleFamilies()
            ->getByName("PageStyles"),
        UNO_QUERY_THROW);
    const auto page = props(pages->getByName(pageStyle));
    bool headerOn = false, footerOn = false;
    page->getPropertyValue("HeaderIsOn") >>= headerOn;
    page->getPropertyValue("FooterIsOn") >>= footerOn;
    if (headerOn) {
        Reference<css::text::XText> header(page->getPropertyValue("HeaderText"), UNO_QUERY_THROW);
        std::printf("header %s\n", escaped(utf8(header->getString())).c_str());
    }
    if (footerOn) {
        Reference<css::text::XText> footer(page->getPropertyValue("FooterText"), UNO_QUERY_THROW);
        std::printf("footer %s\n", escaped(utf8(footer->getString())).c_str());
        Reference<css::container::XEnumeration> lines =
            Reference<css::container::XEnumerationAccess>(footer, UNO_QUERY_THROW)->createEnumeration();
        while (lines->hasMoreElements()) {
            Reference<css::container::XEnumeration> portions =
                Reference<css::container::XEnumerationAccess>(lines->nextElement(), UNO_QUERY_THROW)
                    ->createEnumeration();
            while (portions->hasMoreElements()) {
                const auto portion = props(portions->nextElement());
                OUString type;
                portion->getPropertyValue("TextPortionType") >>= type;
                if (type != "TextField") continue;
                Reference<css::lang::XServiceInfo> field(portion->getPropertyValue("TextField"), UNO_QUERY_THROW);
                for (const char* kind : {"PageNumber", "PageCount"})
                    if (field->supportsService(
                            OUString::createFromAscii((std::string("com.sun.star.text.TextField.") + kind).c_str())))
                        std::printf("field %s\n", kind);
            }
        }
    }
    Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
}

void closeDocuments(const Reference<css::frame::XDesktop2>& desktop) {
    Reference<css::container::XEnumeration> components = desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::text::XTextDocument> document(components->nextElement(), UNO_QUERY);
        Reference<css::util::XCloseable> closeable(document, UNO_QUERY);
        if (closeable.is()) closeable->close(true);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: office-probe CONNECTION documents|close|terminate [DEADLINE_MS]\n");
        return 64;
    }
    const std::string command = argv[2];
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(argc > 3 ? std::atoll(argv[3]) : 20000);
    ::setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" WALLCALC_OFFICE_PROGRAM_DIR "/fundamentalrc", 0);
    try {
        Reference<css::uno::XComponentContext> local = cppu::defaultBootstrap_InitialComponentContext();
        Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local);
        const std::string url = std::string("uno:") + argv[1] + ";urp;StarOffice.ComponentContext";
        Reference<css::uno::XComponentContext> remote;
        while (!remote.is()) {
            try {
                remote.set(resolver->resolve(OUString::createFromAscii(url.c_str())), UNO_QUERY_THROW);
            } catch (const css::connection::NoConnectException&) {
                if (std::chrono::steady_clock::now() > deadline) {
                    std::fprintf(stderr, "no office answers at %s\n", argv[1]);
                    return 2;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        Reference<css::frame::XDesktop2> desktop = css::frame::Desktop::create(remote);
        if (command == "documents") {
            listDocuments(desktop);
        } else if (command.starts_with("book=")) {
            readBook(desktop, command.substr(5));
        } else if (command == "close") {
            closeDocuments(desktop);
        } else if (command == "terminate") {
            try {
                desktop->terminate();
            } catch (const css::lang::DisposedException&) {
                // the office went away while answering: terminated all the same
            }
        } else {
            std::fprintf(stderr, "unknown command %s\n", command.c_str());
            return 64;
        }
    } catch (const css::uno::Exception& e) {
        std::fprintf(stderr, "%s\n", utf8(e.Message).c_str());
        return 1;
    }
    std::fflush(stdout);
    return 0;
}
