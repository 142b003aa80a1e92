#pragma once
// The word processor, for the two jobs the program gives it: showing the report as a new,
// unsaved document (计算书保存) and saving it as a finished document without showing it
// (另存计算书…, --save-report, batches). The word processor lies outside the program; a backend
// of each platform drives it, and stand-ins take its place in tests.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wallcalc {

// Showing a document.
class ReportExporter {
public:
    virtual ~ReportExporter() = default;

    // Starts or attaches to the word processor, makes it visible, adds a new document and puts
    // `reportUtf8` (the text of Text29, CR LF line ends) into it, then releases everything,
    // leaving the word processor running with the new, unsaved document. Blocks until done.
    // Throws FaultError, saying in the engineer's terms what went wrong; whatever the word
    // processor already did stays done.
    virtual void exportReport(const std::string& reportUtf8) = 0;

    // Called from another thread while exportReport waits: ends the wait as soon as it can,
    // exportReport then throwing fault 18 (出现用户中断). A word processor that the export
    // started itself is ended with it; one that was already running is left alone. A backend
    // that cannot stop its call does nothing here.
    virtual void cancel() {}
};

enum class DocumentFormat { Pdf, Docx, Odt };

// By the file's extension (.pdf, .docx, .odt; any case), or none.
std::optional<DocumentFormat> documentFormatOf(const std::filesystem::path& path);
// "pdf", "docx", "odt"; and back.
std::string_view formatName(DocumentFormat format);
std::optional<DocumentFormat> formatFromName(std::string_view name);

// Saving a document. One saver keeps the word processor it reached for all its saves, so that a
// batch starts it once; destroying the saver lets go of it (and ends it where the saver started
// it).
class DocumentSaver {
public:
    virtual ~DocumentSaver() = default;

    // Writes `reportUtf8` (CR LF line ends, one paragraph a line, the private-use symbols in
    // their standard forms) to `path` in `format`. The file appears whole or not at all: the word
    // processor writes a temporary file beside it, which is then renamed. Throws FaultError:
    // 429 when the word processor cannot be reached, 440 when it fails to write the document or
    // the path cannot take it (a folder, say).
    virtual void saveReport(const std::string& reportUtf8, const std::filesystem::path& path,
                            DocumentFormat format) = 0;
};

// A word processor that does both jobs.
class Office : public ReportExporter, public DocumentSaver {};

// The word processor of this platform: LibreOffice through the helper program wallcalc-office
// on Linux, Word through COM automation on Windows (WALLCALC_OFFICE_DEADLINE_MS bounds each
// export and each save, 60 s by default); where none was built, one that says so when used.
// Every document it hands out has the report's private-use symbols in their standard forms.
std::unique_ptr<Office> makePlatformOffice();

}  // namespace wallcalc
