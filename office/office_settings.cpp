#include "office/office_settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#if !defined(_WIN32) && defined(WALLCALC_OFFICE_HELPER_NAME)
#include <unistd.h>

#include "office/export_fault.h"
#endif

namespace wallcalc {
namespace {

const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

std::string deadlineText(std::chrono::milliseconds deadline) {
    const long long ms = deadline.count();
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + "秒";
    char text[32];
    std::snprintf(text, sizeof text, "%g秒", static_cast<double>(ms) / 1000.0);
    return text;
}

std::chrono::milliseconds officeDeadline() {
    if (const char* ms = environment("WALLCALC_OFFICE_DEADLINE_MS")) {
        const long long value = std::atoll(ms);
        if (value > 0) return std::chrono::milliseconds(value);
    }
    return kOfficeDeadline;
}

#if !defined(_WIN32) && defined(WALLCALC_OFFICE_HELPER_NAME)
std::string findOfficeHelper() {
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
#endif

}  // namespace wallcalc
