#pragma once
// What the backends share: how long the word processor is waited for, where a save writes and,
// on Linux, where the helper program that drives LibreOffice is.

#include <chrono>
#include <filesystem>
#include <string>

namespace wallcalc {

// The bound on one export or one save when nothing else is said.
inline constexpr std::chrono::milliseconds kOfficeDeadline{60000};

// A deadline as the messages say it: "60秒", "1.5秒".
std::string deadlineText(std::chrono::milliseconds deadline);

// WALLCALC_OFFICE_DEADLINE_MS where it gives a positive number of milliseconds, else
// kOfficeDeadline.
std::chrono::milliseconds officeDeadline();

// A path as UTF-8, for messages.
std::string pathText(const std::filesystem::path& path);

// Where a save writes: the absolute target, and a temporary name beside it that the word
// processor writes first. Throws the automation fault (440) when the path cannot take a
// document: a folder stands there, say.
struct SaveTarget {
    std::filesystem::path target;
    std::filesystem::path temporary;
};
SaveTarget saveTargetOf(const std::filesystem::path& path);

// Renames the finished temporary file onto the target, replacing what was there; otherwise
// removes it and throws the automation fault, saying why.
void moveIntoPlace(const SaveTarget& save);

#if !defined(_WIN32) && defined(WALLCALC_OFFICE_HELPER_NAME)
// The helper program: named by WALLCALC_OFFICE_HELPER, else beside the running executable,
// else where the build or the installation put it. Throws the export's fault 429 when none is
// there.
std::string findOfficeHelper();
#endif

}  // namespace wallcalc
