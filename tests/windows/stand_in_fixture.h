#pragma once
// The stand-in Word of word_stand_in.cpp, registered as "Word.Application" for the length of a
// test suite, with a control folder where each case names its mode and its log.

// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace wallcalc::testing {

inline std::filesystem::path here() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

// Runs `program` with `arguments` and waits for it (up to `waitMs`); its exit code, -1 when it
// did not start.
inline int run(const std::filesystem::path& program, const std::wstring& arguments, DWORD waitMs = 30000) {
    std::wstring command = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, waitMs);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}

// Runs the stand-in with `arguments` and waits for it.
inline int standIn(const std::wstring& arguments) { return run(here() / "word_stand_in.exe", arguments); }

inline std::vector<std::string> lines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

class WordStandInTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        control_ = std::filesystem::path(temp) / ("wallcalc-word-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(control_);
        ASSERT_EQ(registerStandIn(), 0);
    }
    static void TearDownTestSuite() {
        standIn(L"/unregserver");
        std::error_code ignored;
        std::filesystem::remove_all(control_, ignored);
    }
    static int registerStandIn() { return standIn(L"/regserver \"" + control_.wstring() + L"\""); }

    // The next server started reads `mode` and logs to a file of this case's own.
    static std::filesystem::path useMode(const std::string& mode) {
        const std::string log = "case" + std::to_string(++cases_) + ".log";
        // A folder of the same name that a run before could not remove holds no log of this case.
        std::error_code ignored;
        std::filesystem::remove(control_ / log, ignored);
        std::filesystem::remove(control_ / (log + ".doc"), ignored);
        std::ofstream(control_ / "mode.txt", std::ios::trunc) << log << " " << mode << "\n";
        return control_ / log;
    }

    // The log once the server has logged `count` lines (releases reach it after the call returns).
    static std::vector<std::string> logOf(const std::filesystem::path& log, std::size_t count) {
        for (int i = 0; i < 50 && lines(log).size() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return lines(log);
    }

    static inline std::filesystem::path control_;
    static inline int cases_ = 0;
};

}  // namespace wallcalc::testing
