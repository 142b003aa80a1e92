#include "win32/controls.h"

#include <cmath>

#include "win32/resource.h"

namespace wallcalc::win32 {

std::wstring wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), static_cast<int>(out.size()));
    return out;
}

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::string out(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

RECT twipsRect(int left, int top, int width, int height, UINT dpi) {
    return RECT{pixels(left, dpi), pixels(top, dpi), pixels(left + width, dpi), pixels(top + height, dpi)};
}

UINT dpiOf(HWND window) {
    // GetDpiForWindow came with Windows 10 1607; before it, the system's DPI.
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
    if (getDpi && window) return getDpi(window);
    HDC screen = GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::wstring firstInstalled(const std::vector<std::string_view>& families) {
    HDC screen = GetDC(nullptr);
    std::wstring found;
    for (std::string_view family : families) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        const std::wstring name = wide(family);
        wcsncpy(wanted.lfFaceName, name.c_str(), LF_FACESIZE - 1);
        bool exists = false;
        EnumFontFamiliesExW(
            screen, &wanted,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM context) -> int {
                *reinterpret_cast<bool*>(context) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&exists), 0);
        if (exists) {
            found = name;
            break;
        }
    }
    ReleaseDC(nullptr, screen);
    if (found.empty() && !families.empty()) found = wide(families.front());
    return found;
}

HFONT makeFont(const std::wstring& face, double pointSize, UINT dpi, bool bold, bool chinese) {
    const int height = -static_cast<int>(std::lround(pointSize * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       chinese ? GB2312_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

bool registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int background, int icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    if (icon) {
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(icon));
        windowClass.hIconSm =
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), 0));
    }
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0;
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return utf8(text);
}

void setWindowText(HWND window, std::string_view text) { SetWindowTextW(window, wide(text).c_str()); }

void errorBox(HWND owner, std::string_view title, std::string_view text) {
    MessageBoxW(owner, wide(text).c_str(), wide(title).c_str(), MB_OK | MB_ICONERROR);
}

namespace {
struct Question {
    std::wstring title, text;
};

INT_PTR CALLBACK askProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* question = reinterpret_cast<const Question*>(lParam);
            SetWindowTextW(dialog, question->title.c_str());
            SetDlgItemTextW(dialog, IDC_ASK_TEXT, question->text.c_str());
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL:
                case IDC_ASK_DISCARD: EndDialog(dialog, LOWORD(wParam)); return TRUE;
            }
            break;
    }
    return FALSE;
}
}  // namespace

int askToSave(HWND owner, std::string_view title, std::string_view text) {
    Question question{wide(title), wide(text)};
    const INT_PTR answer = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ASK_SAVE), owner, askProc,
                                           reinterpret_cast<LPARAM>(&question));
    return answer <= 0 ? IDCANCEL : static_cast<int>(answer);
}

}  // namespace wallcalc::win32
