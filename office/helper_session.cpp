#include "office/helper_session.h"
#include "office/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <system_error>
#include <thread>
#include <vector>

#include "office/export_fault.h"
#include "office/helper_exporter.h"
#include "office/office_settings.h"

namespace wallcalc {
namespace {

using Clock = std::chrono::steady_clock;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

HelperSession::HelperSession(const std::string& helperPath, std::chrono::milliseconds deadline)
    : helperPath_(helperPath), deadline_(deadline) {
    SpawnedProcess spawned;
    try {
        spawned = spawnWithStreams({helperPath, "--serve", "--deadline-ms", std::to_string(deadline.count())});
    } catch (const std::system_error& error) {
        throw export_fault::cannotCreate("无法启动文字处理软件的助手程序 " + helperPath + "：" +
                                         std::strerror(error.code().value()));
    }
    pid_ = spawned.pid;
    in_ = spawned.in;
    out_ = spawned.out;
    err_ = spawned.err;
    ::fcntl(out_, F_SETFL, ::fcntl(out_, F_GETFL) | O_NONBLOCK);
    ::fcntl(err_, F_SETFL, ::fcntl(err_, F_GETFL) | O_NONBLOCK);
}

HelperSession::~HelperSession() { end(); }

void HelperSession::end() {
    // The end of its input tells the helper to close down, and a word processor it started with it.
    closeFd(in_);
    if (pid_ > 0) {
        const auto until = Clock::now() + std::chrono::seconds(20);
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(pid_, &status, WNOHANG)) == 0 && Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (ended == 0) {
            ::kill(pid_, SIGKILL);
            while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        }
        pid_ = -1;
    }
    closeFd(out_);
    closeFd(err_);
}

bool HelperSession::answer(std::string& line, Clock::time_point until, bool& timedOut) {
    timedOut = false;
    for (;;) {
        std::size_t newline;
        while ((newline = pending_.find('\n')) != std::string::npos) {
            line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            if (line == "connected") {
                connected_ = true;
                continue;
            }
            if (line == "done" || line.starts_with("fault ")) return true;
        }
        if (out_ < 0) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            return false;
        }
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        const nfds_t count = err_ >= 0 ? 2 : 1;
        if (::poll(fds, count, static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
        char buffer[4096];
        if (err_ >= 0) {
            ssize_t n;
            while ((n = ::read(err_, buffer, sizeof buffer)) > 0) errText_.append(buffer, static_cast<std::size_t>(n));
            if (n == 0) closeFd(err_);
            if (errText_.size() > 65536) errText_.erase(0, errText_.size() - 4096);
        }
        ssize_t n;
        while ((n = ::read(out_, buffer, sizeof buffer)) > 0) pending_.append(buffer, static_cast<std::size_t>(n));
        if (n == 0) closeFd(out_);
    }
}

void HelperSession::save(const std::string& filter, const std::string& absolutePath, const std::string& reportUtf8) {
    if (in_ < 0 || pid_ < 0)
        throw(connected_ ? export_fault::automation("与文字处理软件的连接已经中断")
                         : export_fault::cannotCreate("无法连接文字处理软件：助手程序已经结束"));
    const std::string request = "save " + filter + " " + std::to_string(absolutePath.size()) + " " +
                                std::to_string(reportUtf8.size()) + "\n" + absolutePath + reportUtf8;
    // Answered only once the request is read whole, so a blocking send cannot deadlock: the
    // helper reads its input before it writes anything but the one line "connected".
    for (std::size_t sent = 0; sent < request.size();) {
        const ssize_t n = ::send(in_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            closeFd(in_);
            break;
        }
        sent += static_cast<std::size_t>(n);
    }
    std::string line;
    bool timedOut = false;
    if (in_ >= 0 && answer(line, Clock::now() + deadline_, timedOut)) {
        if (line == "done") return;
        std::istringstream fields(line.substr(6));
        int number = 0;
        std::string what;
        fields >> number;
        std::getline(fields >> std::ws, what);
        if (number == export_fault::kCannotCreate) {
            end();
            throw export_fault::cannotCreate(what);
        }
        throw export_fault::automation(what);
    }
    const bool wasConnected = connected_;
    if (timedOut) ::kill(pid_, SIGKILL);
    end();
    if (timedOut) {
        const std::string late = "文字处理软件在" + deadlineText(deadline_) + "内没有响应";
        throw wasConnected ? export_fault::automation(late)
                           : export_fault::cannotCreate("无法连接文字处理软件：" + late);
    }
    std::string what = "与文字处理软件的连接意外中断：助手程序提前结束";
    const std::string detail = lastLine(errText_);
    if (!detail.empty()) what += "（" + detail + "）";
    throw wasConnected ? export_fault::automation(what) : export_fault::cannotCreate(what);
}

}  // namespace wallcalc
