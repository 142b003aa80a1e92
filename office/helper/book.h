#pragma once
// A book (the JSON form of report/document.h) built in a Writer document through UNO: the
// headings in the paragraph styles Heading 1–3, paragraphs with lowered and raised runs, text
// tables with a repeated header row and right-aligned numbers, the figures as SVG graphics with
// their captions, and the page header and footer with the page number and page count fields.
// The fonts are named as Windows has them, with the Simplified Chinese language set so that a
// machine without them falls back to the Simplified Chinese forms.

#include <string>

#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace wallcalc::helper {

// Throws css::uno::Exception as the office refuses, and IllegalArgumentException for a book
// that cannot be read.
void buildBook(const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context,
               const com::sun::star::uno::Reference<com::sun::star::text::XTextDocument>& document,
               const std::string& bookJson);

// The fonts of a document of flat text (the 计算书): the body's Latin and Asian fonts named as
// Windows has them with their fall-backs, the Asian text in Simplified Chinese. Sizes and layout
// stay the office's own.
void setReportFonts(const com::sun::star::uno::Reference<com::sun::star::text::XTextDocument>& document);

}  // namespace wallcalc::helper
