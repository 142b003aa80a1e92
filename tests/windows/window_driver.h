#pragma once
// Drives wallcalc.exe from another process through window messages, as a user would through
// the mouse and keyboard: finds its windows and controls, sets and reads texts, presses buttons
// and menu commands, and reads and answers its boxes.

// clang-format off
#include <windows.h>
// clang-format on

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace wallcalc::testing {

inline std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    std::wstring out(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                        static_cast<int>(out.size()));
    return out;
}

inline std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    std::string out(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

// A program built here, a Unix path under Wine's drive Z:.
inline std::filesystem::path builtProgram(std::string path) {
    if (path.starts_with("/")) path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return std::filesystem::path(path);
}

// Runs `program` with `arguments`, waits for it and returns what it wrote on standard output.
inline std::string capture(const std::filesystem::path& program, const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring command = L"\"" + program.wstring() + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string out;
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
    return out;
}

inline std::wstring windowText(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

inline std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Waits until `found` gives a result or `seconds` have passed.
template <typename Find>
auto waitFor(Find found, double seconds = 20) -> decltype(found()) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        if (auto result = found()) return result;
        if (std::chrono::steady_clock::now() > end) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// The visible top-level windows of a process with the class given.
inline std::vector<HWND> topWindows(DWORD processId, const std::wstring& windowClass) {
    struct Search {
        DWORD processId;
        const std::wstring* windowClass;
        std::vector<HWND> found;
    } search{processId, &windowClass, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window) && className(window) == *s->windowClass)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A box of the program (a message box or the question before changes are lost).
struct Box {
    HWND window = nullptr;
    std::string title, text;
    explicit operator bool() const { return window != nullptr; }
    // Presses the button with `id` (IDOK, IDCANCEL, ...) and waits until the box is gone.
    void press(int id) const {
        PostMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
        waitFor([&] { return !IsWindow(window); }, 10);
    }
};

// A running wallcalc.exe.
class Program {
public:
    Program(const std::filesystem::path& exe, const std::wstring& arguments = {}) {
        std::wstring command = L"\"" + exe.wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return;
        WaitForInputIdle(process_.hProcess, 20000);
        form_ = waitFor([&]() -> HWND {
            auto found = topWindows(process_.dwProcessId, L"Form1");
            return found.empty() ? nullptr : found.front();
        });
    }
    ~Program() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND form() const { return form_; }
    DWORD id() const { return process_.dwProcessId; }
    HWND control(HWND window, int id) const { return GetDlgItem(window, id); }

    std::string text(HWND window, int id) const { return utf8(windowText(control(window, id))); }
    void setText(HWND window, int id, const std::string& text) const {
        SendMessageW(control(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
    }
    std::string title(HWND window) const { return utf8(windowText(window)); }

    // Presses a button and returns when its press has been handled.
    void press(HWND window, int id) const { SendMessageW(control(window, id), BM_CLICK, 0, 0); }
    // Presses a button whose press will show a box, and returns that box.
    Box pressForBox(HWND window, int id, double seconds = 20) const {
        PostMessageW(control(window, id), BM_CLICK, 0, 0);
        return waitForBox(seconds);
    }
    // A menu command of Form1 (its identifier), handled when this returns.
    void command(int id) const { SendMessageW(form_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    Box commandForBox(int id, double seconds = 20) const {
        PostMessageW(form_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return waitForBox(seconds);
    }
    // Waits until every message sent so far has been handled.
    void settle() const { SendMessageW(form_, WM_NULL, 0, 0); }

    Box waitForBox(double seconds = 20) const {
        HWND found = waitFor(
            [&]() -> HWND {
                auto boxes = topWindows(process_.dwProcessId, L"#32770");
                return boxes.empty() ? nullptr : boxes.front();
            },
            seconds);
        if (!found) return {};
        Box box{found, utf8(windowText(found)), {}};
        // A message box holds its text in the static control 0xFFFF; the question and the busy
        // note in their own.
        for (int id : {0xFFFF, 202, 212})
            if (HWND text = GetDlgItem(found, id)) box.text = utf8(windowText(text));
        return box;
    }

    // The window with the keyboard focus, and its selection.
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process_.dwThreadId, &info);
        return info.hwndFocus;
    }

    // Asks the window to close; true when the program then ended.
    bool close(double seconds = 10) const {
        PostMessageW(form_, WM_CLOSE, 0, 0);
        return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(seconds * 1000)) == WAIT_OBJECT_0;
    }
    bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

    std::vector<HWND> windows(const std::wstring& windowClass) const {
        return topWindows(process_.dwProcessId, windowClass);
    }

private:
    PROCESS_INFORMATION process_{};
    HWND form_ = nullptr;
};

}  // namespace wallcalc::testing
