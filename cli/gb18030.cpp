#include "cli/gb18030.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace wallcalc::cli {

#ifdef _WIN32

std::optional<std::string> utf8FromGb18030(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    constexpr UINT kGb18030 = 54936;
    const int size = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(kGb18030, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(kGb18030, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), wide);
    const int narrow = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

#else

std::optional<std::string> utf8FromGb18030(std::string_view bytes) {
    iconv_t convert = iconv_open("UTF-8", "GB18030");
    if (convert == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    bool ok = true;
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        const std::size_t done = iconv(convert, &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;  // a byte sequence GB18030 does not have, or one cut off at the end
            break;
        }
    }
    iconv_close(convert);
    if (!ok) return std::nullopt;
    return out;
}

#endif

}  // namespace wallcalc::cli
