// The backend of this platform.

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "report/export.h"
#include "report/export/export_fault.h"

#include "report/export/plain_symbols.h"

#if defined(_WIN32)
#include "report/export/word_com.h"
#elif defined(WALLCALC_OFFICE_HELPER_NAME)
#include <unistd.h>

#include "report/export/helper_exporter.h"
#endif

namespace wallcalc {
namespace {

[[maybe_unused]] const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// WALLCALC_OFFICE_DEADLINE_MS, where it gives a positive number of milliseconds.
[[maybe_unused]] std::optional<std::chrono::milliseconds> deadlineFromEnvironment() {
    if (const char* ms = environment("WALLCALC_OFFICE_DEADLINE_MS")) {
        const long long value = std::atoll(ms);
        if (value > 0) return std::chrono::milliseconds(value);
    }
    return std::nullopt;
}

#if !defined(_WIN32) && defined(WALLCALC_OFFICE_HELPER_NAME)

// The helper program: named by WALLCALC_OFFICE_HELPER, else beside the running executable,
// else where the build or the installation put it.
std::string findHelper() {
    if (const char* path = environment("WALLCALC_OFFICE_HELPER")) return path;
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) candidates.push_back(self.parent_path() / WALLCALC_OFFICE_HELPER_NAME);
    candidates.emplace_back(WALLCALC_OFFICE_HELPER_BUILD_PATH);
    candidates.emplace_back(WALLCALC_OFFICE_HELPER_INSTALL_PATH);
    for (const fs::path& candidate : candidates)
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    throw export_fault::cannotCreate(std::string("无法启动文字处理软件：找不到助手程序 ") +
                                     WALLCALC_OFFICE_HELPER_NAME + "（应与本程序放在同一目录）");
}

// Finds the helper when the export is made, so that a missing helper is a fault of the press.
class LinuxExporter final : public ReportExporter {
public:
    void exportReport(const std::string& reportUtf8) override {
        cancelled_ = false;
        HelperExporter::Options options;
        options.cancel = &cancelled_;
        options.helperPath = findHelper();
        if (auto deadline = deadlineFromEnvironment()) options.deadline = *deadline;
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
    if (auto deadline = deadlineFromEnvironment())
        return std::make_unique<StandardSymbolsExporter>(std::make_unique<WordExporter>(*deadline));
    return std::make_unique<StandardSymbolsExporter>(std::make_unique<WordExporter>());
#elif defined(WALLCALC_OFFICE_HELPER_NAME)
    return std::make_unique<LinuxExporter>();
#else
    return std::make_unique<UnavailableExporter>();
#endif
}

}  // namespace wallcalc
