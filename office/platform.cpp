// The word processor of this platform: the one place that chooses.

#include "office/export_fault.h"
#include "office/office.h"
#include "office/office_settings.h"

#if defined(_WIN32)
#include "office/word_office.h"
#elif defined(WALLCALC_OFFICE_HELPER_NAME)
#include "office/helper_office.h"
#endif

namespace wallcalc {
namespace {

// Built without any way to drive a word processor: every use says so.
class NoOffice final : public Office {
public:
    void exportReport(const std::string&) override {
        throw export_fault::cannotCreate("本程序构建时没有文字处理软件的接口（LibreOffice SDK），无法驱动文字处理软件");
    }
    void saveReport(const std::string&, const std::filesystem::path&, DocumentFormat) override {
        throw export_fault::cannotCreate(
            "本程序的这一版本不能直接保存计算书文件，请用“计算书保存”在文字处理软件中保存");
    }
};

}  // namespace

std::unique_ptr<Office> makePlatformOffice() {
#if defined(_WIN32)
    return std::make_unique<WordOffice>(officeDeadline());
#elif defined(WALLCALC_OFFICE_HELPER_NAME)
    return std::make_unique<HelperOffice>();
#else
    return std::make_unique<NoOffice>();
#endif
}

}  // namespace wallcalc
