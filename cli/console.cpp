#include "cli/console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

// The C runtime's own splitting of the wide command line (msvcrt, and the UCRT's compatible entry),
// the one main's narrow arguments come from. Shell32's CommandLineToArgvW would do the same job
// but loads shell32 and with it user32, which costs a Windows program under Wine half its start.
extern "C" {
struct WallcalcStartupInfo {
    int newMode;
};
int __cdecl __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int expandWildcards,
                           WallcalcStartupInfo* startup);
}
#endif

namespace wallcalc::cli {

#ifdef _WIN32

void useUtf8Console(int& argc, char**& argv) {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);

    int count = 0;
    wchar_t** wide = nullptr;
    wchar_t** environment = nullptr;
    WallcalcStartupInfo startup{0};
    if (__wgetmainargs(&count, &wide, &environment, 0, &startup) < 0 || !wide) return;
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    texts.clear();
    for (int i = 0; i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), n, nullptr, nullptr);
        texts.push_back(std::move(text));
    }
    pointers.clear();
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    argc = count;
    argv = pointers.data();
}

#else

void useUtf8Console(int&, char**&) {}

#endif

}  // namespace wallcalc::cli
