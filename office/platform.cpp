// The backend of this platform.

#include <atomic>
#include <chrono>
#include <string>

#include "office/export_fault.h"
#include "office/office.h"
#include "office/office_settings.h"

#include "office/plain_symbols.h"

#if defined(_WIN32)
#include "office/word_com.h"
#elif defined(WALLCALC_OFFICE_HELPER_NAME)

#include "office/helper_exporter.h"
#endif

namespace wallcalc {
namespace {

#if !defined(_WIN32) && defined(WALLCALC_OFFICE_HELPER_NAME)

// Finds the helper when the export is made, so that a missing helper is a fault of the press.
class LinuxExporter final : public ReportExporter {
public:
    void exportReport(const std::string& reportUtf8) override {
        cancelled_ = false;
        HelperExporter::Options options;
        options.cancel = &cancelled_;
        options.helperPath = findOfficeHelper();
        options.deadline = officeDeadline();
        HelperExporter(std::move(options)).exportReport(reportUtf8);
    }
    void cancel() override { cancelled_ = true; }

private:
    std::atomic<bool> cancelled_{false};
};

#elif !defined(_WIN32)

class UnavailableExporter final : public ReportExporter {
public:
    void exportReport(const std::string&) override {
        throw export_fault::cannotCreate("本程序构建时没有文字处理软件的接口（LibreOffice SDK），无法驱动文字处理软件");
    }
};

#endif

}  // namespace

std::unique_ptr<ReportExporter> makePlatformExporter() {
#if defined(_WIN32)
    // The LibreOffice helper converts the symbols itself; Word is given them converted.
    return std::make_unique<StandardSymbolsExporter>(std::make_unique<WordExporter>(officeDeadline()));
#elif defined(WALLCALC_OFFICE_HELPER_NAME)
    return std::make_unique<LinuxExporter>();
#else
    return std::make_unique<UnavailableExporter>();
#endif
}

}  // namespace wallcalc
