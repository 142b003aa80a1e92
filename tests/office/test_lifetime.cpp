// The office a save starts for itself lives no longer than the program that asked for it: a
// program killed mid-save (kill -9) leaves no office, no helper, no profile and no temporary file
// behind; an office that cannot start is a fault at once, not at the deadline.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "core/fault.h"
#include "office/helper_office.h"

namespace wallcalc {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_.empty() ? ::unsetenv(name_) : ::setenv(name_, old_.c_str(), 1); }

private:
    const char* name_;
    std::string old_;
};

// A folder of the test's own, for TMPDIR (where the helper makes the office's profile), the
// stand-in offices and the saved documents.
struct Sandbox {
    fs::path root;
    Sandbox() {
        std::string name = (fs::temp_directory_path() / "wallcalc-lifetime-XXXXXX").string();
        root = ::mkdtemp(name.data());
        fs::create_directories(root / "tmp");
        fs::create_directories(root / "out");
    }
    ~Sandbox() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    std::string standIn(const std::string& body) const {
        const fs::path path = root / "soffice";
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(path, fs::perms::owner_all);
        return path.string();
    }
    // What the helper and the office left: anything in tmp/ or out/.
    std::set<std::string> leftOver() const {
        std::set<std::string> left;
        for (const char* dir : {"tmp", "out"})
            for (const auto& entry : fs::directory_iterator(root / dir))
                left.insert(std::string(dir) + "/" + entry.path().filename().string());
        return left;
    }
};

struct ProcessInfo {
    pid_t pid = 0, parent = 0, group = 0;
    char state = '?';
};

std::optional<ProcessInfo> infoOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    ProcessInfo info;
    info.pid = pid;
    std::istringstream fields(text.substr(close + 2));
    fields >> info.state >> info.parent >> info.group;
    return info;
}

// The live processes whose command line names `text`.
std::vector<ProcessInfo> processesNaming(const std::string& text) {
    std::vector<ProcessInfo> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream in(entry.path() / "cmdline");
        const std::string line((std::istreambuf_iterator<char>(in)), {});
        if (line.find(text) == std::string::npos) continue;
        if (auto info = infoOf(std::stoi(name)); info && info->state != 'Z') found.push_back(*info);
    }
    return found;
}

// Whether a process of `group`, or the process `pid`, still runs (a zombie has ended).
bool groupRunning(pid_t group) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (auto info = infoOf(std::stoi(name)); info && info->group == group && info->state != 'Z') return true;
    }
    return false;
}
bool running(pid_t pid) {
    const auto info = infoOf(pid);
    return info && info->state != 'Z';
}

template <class Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    for (const auto end = Clock::now() + limit; Clock::now() < end; std::this_thread::sleep_for(50ms))
        if (condition()) return true;
    return condition();
}

// A program that saves one report through the helper and its own office, forked so that the
// test can kill it with SIGKILL.
pid_t startSaving(const fs::path& target) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            HelperOffice(WALLCALC_OFFICE_HELPER_PATH, 60s).saveReport("计算书\r\n", target, DocumentFormat::Pdf);
        } catch (...) {
        }
        std::_Exit(0);
    }
    return pid;
}

TEST(OwnOffice, EndsWithTheProgramKilledWhileItSaves) {
    struct Case {
        const char* name;
        std::string soffice;  // empty: LibreOffice itself
        std::chrono::milliseconds startup;
    };
    // The stand-in forks its office and waits for it, as LibreOffice's launcher does with
    // soffice.bin; it never answers on the pipe.
    const Case cases[] = {
        {"a launcher that forks its office", "sh -c 'sleep 300; :' soffice.bin \"$@\" &\nwait", 10s},
        {"LibreOffice", "", 60s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.soffice.empty() && !fs::exists(WALLCALC_SOFFICE)) continue;
        Sandbox box;
        ScopedEnv tmp("TMPDIR", (box.root / "tmp").c_str());
        ScopedEnv noOffice("WALLCALC_OFFICE", nullptr);
        ScopedEnv soffice("WALLCALC_SOFFICE", c.soffice.empty() ? WALLCALC_SOFFICE : box.standIn(c.soffice).c_str());
        const pid_t program = startSaving(box.root / "out" / "墙.pdf");

        // The office runs once a process names its profile (under tmp/); LibreOffice's own
        // soffice.bin besides its launcher.
        const std::string profile = (box.root / "tmp").string();
        std::vector<ProcessInfo> office;
        ASSERT_TRUE(within(c.startup, [&] {
            office = processesNaming(profile);
            return office.size() >= 2;
        })) << "the office did not start";
        const pid_t group = office.front().group;
        const pid_t helper = infoOf(group) ? infoOf(group)->parent : 0;
        ASSERT_GT(helper, 1);

        ::kill(program, SIGKILL);
        ::waitpid(program, nullptr, 0);
        EXPECT_TRUE(within(10s, [&] { return !groupRunning(group); })) << "the office outlived the program";
        EXPECT_TRUE(within(5s, [&] { return !running(helper); })) << "the helper outlived the program";
        EXPECT_TRUE(within(5s, [&] { return box.leftOver().empty(); }))
            << "left: " << (box.leftOver().empty() ? "" : *box.leftOver().begin());
        for (const ProcessInfo& process : processesNaming(profile)) ::kill(process.pid, SIGKILL);
    }
}

TEST(OwnOffice, ThatCannotStartIsAFaultAtOnce) {
    struct Case {
        const char* name;
        std::string soffice;
        std::string part;
    };
    const Case cases[] = {
        {"ends with an error", "exit 1", "LibreOffice 在启动过程中以错误代码 1 结束"},
        {"crashes", "kill -SEGV $$", "LibreOffice 在启动过程中崩溃（内存访问错误）"},
        {"ends without an office", "exit 0", "LibreOffice 在启动过程中正常结束"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        ScopedEnv tmp("TMPDIR", (box.root / "tmp").c_str());
        ScopedEnv noOffice("WALLCALC_OFFICE", nullptr);
        ScopedEnv soffice("WALLCALC_SOFFICE", box.standIn(c.soffice).c_str());
        const auto start = Clock::now();
        try {
            HelperOffice(WALLCALC_OFFICE_HELPER_PATH, 60s)
                .saveReport("计算书\r\n", box.root / "out" / "墙.pdf", DocumentFormat::Pdf);
            ADD_FAILURE() << "saved";
        } catch (const FaultError& error) {
            EXPECT_EQ(error.fault().number, 429) << error.fault().what;
            EXPECT_NE(error.fault().what.find(c.part), std::string::npos) << error.fault().what;
        }
        EXPECT_LT(Clock::now() - start, 5s);
        EXPECT_EQ(box.leftOver(), std::set<std::string>());
    }
}

}  // namespace
}  // namespace wallcalc
