// The export through a helper process: what reaches the caller when the helper, or the office
// behind it, fails, hangs or dies.

#include "office/helper_office.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "office/export_fault.h"
#include "tests/support/sample_report.h"

namespace wallcalc {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string name = (fs::temp_directory_path() / "wallcalc-export-XXXXXX").string();
        path_ = ::mkdtemp(name.data());
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A stand-in helper: a shell script in place of wallcalc-office.
std::string script(const TempDir& dir, const std::string& name, const std::string& body) {
    const fs::path path = dir.path() / name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
    return path.string();
}

Fault exportFault(ReportExporter& exporter, const std::string& report) {
    try {
        exporter.exportReport(report);
    } catch (const FaultError& error) {
        return error.fault();
    }
    return {};
}

Fault exportFault(const std::string& helper, std::chrono::milliseconds deadline, const std::string& report) {
    try {
        HelperOffice(helper, deadline).exportReport(report);
    } catch (const FaultError& error) {
        return error.fault();
    }
    return {};
}

void expectFault(const Fault& fault, int number, const std::string& part, const char* name) {
    EXPECT_EQ(fault.number, number) << name << ": " << fault.what;
    EXPECT_EQ(fault.description, number == 429 ? "部件不能创建对象" : "自动化错误") << name;
    EXPECT_NE(fault.what.find(part), std::string::npos) << name << ": " << fault.what;
}

TEST(HelperOffice, HandsTheReportOverAndEndsCleanly) {
    TempDir dir;
    const fs::path received = dir.path() / "received";
    const std::string helper =
        script(dir, "helper", "tail -n +2 > '" + received.string() + "'; echo connected; echo done");
    // Larger than a pipe's buffer, so that writing and reading must interleave.
    std::string report;
    while (report.size() < 300000) report += testing::sampleReport();
    EXPECT_EQ(exportFault(helper, 10s, report), Fault{});
    std::ifstream in(received, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), report);
}

TEST(HelperOffice, TurnsEveryWayOfFailingIntoAFault) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string body;
        std::chrono::milliseconds deadline;
        int number;
        std::string part;
    };
    const Case cases[] = {
        {"fault said by the helper",
         "cat >/dev/null; echo connected; echo 'fault 440 文字处理软件拒绝了写入计算书：x'; exit 1", 10s, 440,
         "文字处理软件拒绝了写入计算书：x"},
        {"cannot create said by the helper", "cat >/dev/null; echo 'fault 429 无法启动文字处理软件：y'; exit 1", 10s,
         429, "无法启动文字处理软件：y"},
        {"hangs before connecting", "cat >/dev/null; exec sleep 30", 1s, 429, "文字处理软件在1秒内没有响应"},
        {"hangs mid-way", "cat >/dev/null; echo connected; exec sleep 30", 1500ms, 440,
         "文字处理软件在1.5秒内没有响应"},
        {"dies mid-way", "cat >/dev/null; echo connected; kill -SEGV $$", 10s, 440, "助手程序崩溃（内存访问错误）"},
        {"ends without reading", "echo broken >&2; exit 3", 10s, 429, "以错误代码 3 结束（broken）"},
        {"ends without a word", "cat >/dev/null; echo connected", 10s, 440, "助手程序正常结束，但没有完成工作"},
        // What the helper says on its error stream is left out where it names a file.
        {"a path on the error stream", "echo 'at /build/x/bridge.cxx:611' >&2; exit 1", 10s, 429,
         "以错误代码 1 结束，请再保存一次"},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const Fault fault = exportFault(script(dir, "helper", c.body), c.deadline, testing::sampleReport());
        expectFault(fault, c.number, c.part, c.name);
        // Killed at the deadline, not waited for until it ends by itself.
        EXPECT_LT(std::chrono::steady_clock::now() - start, c.deadline + 5s) << c.name;
    }
    expectFault(exportFault((dir.path() / "missing").string(), 1s, ""), 429, "助手程序", "no helper");
}

// 取消 ends the wait at once: the helper is killed, and with it the office it said it started
// (a process of its own session, here a sleep); an office it did not start is left alone.
TEST(HelperOffice, CancelEndsTheWaitAndTheOfficeItStarted) {
    TempDir dir;
    const fs::path pids = dir.path() / "pids";
    struct Case {
        const char* name;
        bool startsOffice;
    };
    for (const Case& c : {Case{"office started by the export", true}, Case{"office already running", false}}) {
        const std::string body = "cat >/dev/null; setsid sleep 60 & echo $! > '" + pids.string() + "'; " +
                                 (c.startsOffice ? "echo started $!; " : "") + "exec sleep 30";
        HelperOffice exporter(script(dir, "helper", body), 20s);
        std::thread canceller([&] {
            std::this_thread::sleep_for(500ms);
            exporter.cancel();
        });
        const auto start = std::chrono::steady_clock::now();
        const Fault fault = exportFault(exporter, testing::sampleReport());
        canceller.join();
        EXPECT_EQ(fault.number, 18) << c.name << ": " << fault.what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << c.name;

        pid_t office = 0;
        std::ifstream(pids) >> office;
        ASSERT_GT(office, 1) << c.name;
        // Killed, the office is reaped by whoever inherited it; a zombie counts as ended.
        auto running = [&] {
            std::ifstream stat("/proc/" + std::to_string(office) + "/stat");
            std::string pid, command, state;
            return stat >> pid >> command >> state && state != "Z";
        };
        for (int i = 0; i < 100 && running() && c.startsOffice; ++i) std::this_thread::sleep_for(20ms);
        EXPECT_EQ(running(), !c.startsOffice) << c.name;
        if (running()) ::kill(office, SIGKILL);
    }
}

// A folder where the document should go is refused with what is wrong, before any word processor
// is asked (the helper named here does not exist), and stays as it was.
TEST(HelperOffice, RefusesToSaveOntoAFolder) {
    TempDir dir;
    fs::create_directories(dir.path() / "empty.pdf");
    fs::create_directories(dir.path() / "full.odt" / "inside");
    for (const char* name : {"empty.pdf", "full.odt"}) {
        Fault fault;
        try {
            HelperOffice((dir.path() / "missing").string(), 10s)
                .saveReport("计算书\r\n", dir.path() / name, *documentFormatOf(name));
        } catch (const FaultError& error) {
            fault = error.fault();
        }
        expectFault(fault, 440, "那里是一个文件夹，请另选文件名", name);
        EXPECT_TRUE(fs::is_directory(dir.path() / name)) << name;
    }
    EXPECT_TRUE(fs::exists(dir.path() / "full.odt" / "inside"));
}

#ifdef WALLCALC_OFFICE_HELPER_PATH

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) { ::setenv(name, value.c_str(), 1); }
    ~ScopedEnv() { ::unsetenv(name_); }

private:
    const char* name_;
};

// A listener on the pipe that accepts and then never answers, as a hung office does.
class SilentOffice {
public:
    explicit SilentOffice(const std::string& name) {
        path_ = "/tmp/OSL_PIPE_" + std::to_string(::getuid()) + "_" + name;
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path_.copy(address.sun_path, sizeof address.sun_path - 1);
        ::unlink(path_.c_str());
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 4) != 0)
            ADD_FAILURE() << "cannot listen on " << path_;
    }
    ~SilentOffice() {
        ::close(fd_);
        ::unlink(path_.c_str());
    }

private:
    std::string path_;
    int fd_ = -1;
};

TEST(OfficeHelper, GivesUpOnAnOfficeThatDoesNotAnswer) {
    const std::string pipe = "wallcalc_nobody_" + std::to_string(::getpid());
    {
        // Nobody listens: the helper says so itself before the deadline.
        ScopedEnv office("WALLCALC_OFFICE", "pipe,name=" + pipe);
        expectFault(exportFault(WALLCALC_OFFICE_HELPER_PATH, 2s, "计算书\r\n"), 429,
                    "无法连接文字处理软件：pipe,name=" + pipe + " 上在1.5秒内没有应答", "nobody listens");
    }
    {
        // Someone listens and never answers: the helper hangs and is killed at the deadline.
        SilentOffice silent(pipe);
        ScopedEnv office("WALLCALC_OFFICE", "pipe,name=" + pipe);
        expectFault(exportFault(WALLCALC_OFFICE_HELPER_PATH, 1500ms, "计算书\r\n"), 429,
                    "文字处理软件在1.5秒内没有响应", "silent office");
    }
    {
        ScopedEnv office("WALLCALC_OFFICE", "nonsense");
        expectFault(exportFault(WALLCALC_OFFICE_HELPER_PATH, 2s, "计算书\r\n"), 429, "无法连接文字处理软件",
                    "bad connection");
    }
}

TEST(OfficeHelper, PlatformExporterSaysWhenTheHelperIsMissing) {
    ScopedEnv helper("WALLCALC_OFFICE_HELPER", "/nonexistent/wallcalc-office");
    try {
        makePlatformOffice()->exportReport("计算书\r\n");
        ADD_FAILURE() << "no fault";
    } catch (const FaultError& error) {
        // Said in words, without the path.
        expectFault(error.fault(), 429, "助手程序 wallcalc-office：找不到该程序", "missing helper");
        EXPECT_EQ(error.fault().what.find("/nonexistent"), std::string::npos);
    }
}

#endif

}  // namespace
}  // namespace wallcalc
