#pragma once
// What the export and the saver both read of their surroundings: how long the word processor
// is waited for and, on Linux, where the helper program that drives LibreOffice is.

#include <chrono>
#include <string>

namespace wallcalc {

// The bound on one export or one save when nothing else is said.
inline constexpr std::chrono::milliseconds kOfficeDeadline{60000};

// A deadline as the messages say it: "60秒", "1.5秒".
std::string deadlineText(std::chrono::milliseconds deadline);

// WALLCALC_OFFICE_DEADLINE_MS where it gives a positive number of milliseconds, else
// kOfficeDeadline.
std::chrono::milliseconds officeDeadline();

#if !defined(_WIN32) && defined(WALLCALC_OFFICE_HELPER_NAME)
// The helper program: named by WALLCALC_OFFICE_HELPER, else beside the running executable,
// else where the build or the installation put it. Throws the export's fault 429 when none is
// there.
std::string findOfficeHelper();
#endif

}  // namespace wallcalc
