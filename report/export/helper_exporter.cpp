#include "report/export/helper_exporter.h"

#include <sys/wait.h>

#include <system_error>

#include "report/export/export_fault.h"
#include "report/export/process.h"

namespace wallcalc {
namespace {

std::string lastLine(const std::string& text) {
    std::istringstream in(text);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty()) last = line;
    return last;
}

}  // namespace

void HelperExporter::exportReport(const std::string& reportUtf8) {
    ProcessResult run;
    try {
        run = runProcess({options_.helperPath, "--deadline-ms", std::to_string(options_.deadline.count())}, reportUtf8,
                         options_.deadline);
    } catch (const std::system_error& error) {
        throw export_fault::cannotCreate("无法启动文字处理软件的助手程序 " + options_.helperPath + "：" +
                                         error.code().message());
    }

    bool connected = false, done = false;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line == "connected") connected = true;
        if (line == "done") done = true;
        if (line.starts_with("fault ")) {
            std::istringstream fields(line.substr(6));
            int number = 0;
            std::string what;
            fields >> number;
            std::getline(fields >> std::ws, what);
            if (number == export_fault::kCannotCreate) throw export_fault::cannotCreate(what);
            throw export_fault::automation(what);
        }
    }
    // The helper ended without saying why: whether the word processor had been reached decides
    // which fault it is.
    auto fault = [&](std::string what) {
        const std::string detail = lastLine(run.err);
        if (!detail.empty()) what += "（" + detail + "）";
        return connected ? export_fault::automation(std::move(what)) : export_fault::cannotCreate(std::move(what));
    };
    if (run.timedOut) {
        const std::string late = "文字处理软件在" + deadlineText(options_.deadline) + "内没有响应";
        throw connected ? export_fault::automation(late) : export_fault::cannotCreate("无法连接文字处理软件：" + late);
    }
    if (WIFSIGNALED(run.status))
        throw fault("与文字处理软件的连接意外中断：助手程序被信号 " + std::to_string(WTERMSIG(run.status)) + " 终止");
    if (WEXITSTATUS(run.status) != 0 || !done)
        throw fault("与文字处理软件的连接意外中断：助手程序以退出码 " + std::to_string(WEXITSTATUS(run.status)) +
                    " 结束");
}

}  // namespace wallcalc
