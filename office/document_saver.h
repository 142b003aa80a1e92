#pragma once
// Saving the report as a finished document (PDF, Word, OpenDocument) through the word
// processor, without showing it: the engineer gets a file, not a window. One saver keeps the
// word processor it reached for all its saves, so that a batch starts it once; destroying the
// saver lets go of it (and ends it where the saver started it).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wallcalc {

enum class DocumentFormat { Pdf, Docx, Odt };

// By the file's extension (.pdf, .docx, .odt; any case), or none.
std::optional<DocumentFormat> documentFormatOf(const std::filesystem::path& path);
// "pdf", "docx", "odt"; and back.
std::string_view formatName(DocumentFormat format);
std::optional<DocumentFormat> formatFromName(std::string_view name);

class DocumentSaver {
public:
    virtual ~DocumentSaver() = default;

    // Writes `reportUtf8` (CR LF line ends, one paragraph a line, the private-use symbols in
    // their standard forms) to `path` in `format`. The file appears whole or not at all: the word
    // processor writes a temporary file beside it, which is then renamed. Throws FaultError:
    // 429 when the word processor cannot be reached, 440 when it fails to write the document.
    virtual void saveReport(const std::string& reportUtf8, const std::filesystem::path& path,
                            DocumentFormat format) = 0;
};

// The saver of this platform: LibreOffice through the helper program on Linux, a hidden Word
// through COM on Windows (WALLCALC_OFFICE_DEADLINE_MS bounds each save, 60 s by default);
// elsewhere one that says it cannot save.
std::unique_ptr<DocumentSaver> makePlatformSaver();

}  // namespace wallcalc
