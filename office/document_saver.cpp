#include "office/document_saver.h"

#include <algorithm>
#include <cctype>
#include <random>

#include "office/export_fault.h"
#include "office/office_settings.h"
#include "office/plain_symbols.h"

#if defined(_WIN32)
#include "office/word_saver.h"
#elif defined(WALLCALC_OFFICE_HELPER_NAME)

#include "office/helper_session.h"
#endif

namespace wallcalc {

std::string_view formatName(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::Pdf: return "pdf";
        case DocumentFormat::Docx: return "docx";
        case DocumentFormat::Odt: return "odt";
    }
    return {};
}

std::optional<DocumentFormat> formatFromName(std::string_view name) {
    for (DocumentFormat format : {DocumentFormat::Pdf, DocumentFormat::Docx, DocumentFormat::Odt})
        if (formatName(format) == name) return format;
    return std::nullopt;
}

std::optional<DocumentFormat> documentFormatOf(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    if (extension.empty()) return std::nullopt;
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return formatFromName(std::string_view(extension).substr(1));
}

namespace {

#if !defined(_WIN32) && defined(WALLCALC_OFFICE_HELPER_NAME)

// The export filters of LibreOffice Writer.
const char* filterOf(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::Pdf: return "writer_pdf_Export";
        case DocumentFormat::Docx: return "MS Word 2007 XML";
        case DocumentFormat::Odt: return "writer8";
    }
    return "";
}

class LinuxSaver final : public DocumentSaver {
public:
    void saveReport(const std::string& reportUtf8, const std::filesystem::path& path, DocumentFormat format) override {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path target = fs::absolute(path, error);
        if (error) throw export_fault::automation("无法保存计算书：" + path.string() + "：" + error.message());
        // The office writes a file of its own name beside the target, renamed once complete.
        std::random_device entropy;
        const fs::path temporary =
            target.parent_path() /
            ("." + target.stem().string() + ".tmp" + std::to_string(entropy() % 1000000) + target.extension().string());
        if (!session_) session_ = std::make_unique<HelperSession>(findOfficeHelper(), officeDeadline());
        try {
            session_->save(filterOf(format), temporary.string(), standardSymbols(reportUtf8));
        } catch (...) {
            fs::remove(temporary, error);
            // A helper that has ended is started afresh for the next save.
            if (!session_->alive()) session_.reset();
            throw;
        }
        fs::rename(temporary, target, error);
        if (error) {
            fs::remove(temporary, error);
            throw export_fault::automation("无法保存计算书 " + target.string() + "：" + error.message());
        }
    }

private:
    std::unique_ptr<HelperSession> session_;
};

#elif !defined(_WIN32)

class UnavailableSaver final : public DocumentSaver {
public:
    void saveReport(const std::string&, const std::filesystem::path&, DocumentFormat) override {
        throw export_fault::cannotCreate(
            "本程序的这一版本不能直接保存计算书文件，请用“计算书保存”在文字处理软件中保存");
    }
};

#endif

}  // namespace

std::unique_ptr<DocumentSaver> makePlatformSaver() {
#if defined(_WIN32)
    return std::make_unique<WordSaver>(officeDeadline());
#elif defined(WALLCALC_OFFICE_HELPER_NAME)
    return std::make_unique<LinuxSaver>();
#else
    return std::make_unique<UnavailableSaver>();
#endif
}

}  // namespace wallcalc
