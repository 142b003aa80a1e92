#include "office/helper_exporter.h"

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <system_error>

#include "office/export_fault.h"
#include "office/office_settings.h"
#include "office/process.h"

namespace wallcalc {
namespace {

// What the helper wrote of its own to the error stream, unless it names a file of this machine
// or of the program's sources.
std::string plainDetail(const std::string& err) {
    const std::string detail = lastLine(err);
    return detail.find('/') == std::string::npos ? detail : std::string();
}

}  // namespace

void HelperExporter::exportReport(const std::string& reportUtf8) {
    const std::atomic<bool>* cancel = options_.cancel ? options_.cancel : &cancelled_;
    ProcessResult run;
    try {
        run = runProcess({options_.helperPath, "--deadline-ms", std::to_string(options_.deadline.count())}, reportUtf8,
                         options_.deadline, cancel);
    } catch (const std::system_error& error) {
        const int code = error.code().value();
        const char* why = code == ENOENT ? "找不到该程序" : code == EACCES ? "没有运行它的权限" : "系统拒绝运行它";
        throw export_fault::cannotCreate(std::string("无法启动文字处理软件的助手程序 wallcalc-office：") + why +
                                         "，请重新安装本程序");
    }

    bool connected = false, done = false;
    pid_t started = 0;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line == "connected") connected = true;
        if (line == "done") done = true;
        if (line.starts_with("started ")) started = static_cast<pid_t>(std::atoll(line.c_str() + 8));
        if (line.starts_with("fault ") && !run.cancelled) {
            std::istringstream fields(line.substr(6));
            int number = 0;
            std::string what;
            fields >> number;
            std::getline(fields >> std::ws, what);
            if (number == export_fault::kCannotCreate) throw export_fault::cannotCreate(what);
            throw export_fault::automation(what);
        }
    }
    if (run.cancelled) {
        // The office this export started runs in a session of its own, whose process group
        // bears its launcher's id; an office that was running before is not touched.
        if (started > 1) ::kill(-started, SIGKILL);
        throw export_fault::cancelled();
    }
    // The helper ended without saying why: whether the word processor had been reached decides
    // which fault it is.
    auto fault = [&](std::string what) {
        const std::string detail = plainDetail(run.err);
        if (!detail.empty()) what += "（" + detail + "）";
        what += "，请再保存一次";
        return connected ? export_fault::automation(std::move(what)) : export_fault::cannotCreate(std::move(what));
    };
    if (run.timedOut) {
        const std::string late = "文字处理软件在" + deadlineText(options_.deadline) + "内没有响应";
        throw connected ? export_fault::automation(late) : export_fault::cannotCreate("无法连接文字处理软件：" + late);
    }
    if (WIFSIGNALED(run.status) || WEXITSTATUS(run.status) != 0 || !done)
        throw fault("与文字处理软件的连接意外中断：助手程序" + endInWords(run.status));
}

}  // namespace wallcalc
