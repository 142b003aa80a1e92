#include "office/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <system_error>
#include <utility>

extern char** environ;

namespace wallcalc {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void throwErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

void Fd::reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void drain(Fd& fd, std::string& into) {
    char buffer[4096];
    while (fd) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            fd.reset();
        } else if (errno != EINTR) {
            if (errno != EAGAIN) fd.reset();
            return;
        }
    }
}

void setNonBlocking(const Fd& fd) { ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) | O_NONBLOCK); }

void sendSome(Fd& fd, std::string_view bytes, std::size_t& sent) {
    while (fd && sent < bytes.size()) {
        const ssize_t n = ::send(fd.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && errno != EAGAIN) fd.reset();  // the reader stopped reading
            return;
        }
    }
}

void awaitStreams(const Fd& in, bool sending, const Fd& out, const Fd& err, const ChildProcess& child,
                  std::chrono::milliseconds left, bool cancellable) {
    std::vector<pollfd> fds;
    if (in && sending) fds.push_back({in.get(), POLLOUT, 0});
    if (out) fds.push_back({out.get(), POLLIN, 0});
    if (err) fds.push_back({err.get(), POLLIN, 0});
    if (child.endedFd()) fds.push_back({child.endedFd().get(), POLLIN, 0});
    long long wait = child.endedFd() ? left.count() : std::min<long long>(left.count(), 20);
    if (cancellable) wait = std::min<long long>(wait, 50);
    ::poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(wait, 0)));
}

ChildProcess::ChildProcess(pid_t pid) : pid_(pid), ended_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        kill();
        pid_ = std::exchange(other.pid_, -1);
        ended_ = std::move(other.ended_);
        status_ = other.status_;
    }
    return *this;
}

bool ChildProcess::poll() {
    if (pid_ <= 0) return true;
    const pid_t ended = ::waitpid(pid_, &status_, WNOHANG);
    if (ended == 0 || (ended < 0 && errno == EINTR)) return false;
    if (ended < 0) status_ = 0;  // ECHILD: reaped elsewhere
    pid_ = -1;
    ended_.reset();
    return true;
}

bool ChildProcess::waitFor(std::chrono::milliseconds limit) {
    const auto until = Clock::now() + limit;
    while (!poll()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0) return false;
        if (ended_) {
            pollfd fd{ended_.get(), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left.count()));
        } else {
            ::poll(nullptr, 0, static_cast<int>(std::min<long long>(left.count(), 20)));
        }
    }
    return true;
}

void ChildProcess::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    ended_.reset();
}

SpawnedProcess spawnWithStreams(const std::vector<std::string>& argv) {
    int sv[2], outPipe[2], errPipe[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) throwErrno("socketpair");
    Fd inParent(sv[0]), inChild(sv[1]);
    if (::pipe2(outPipe, O_CLOEXEC) != 0) throwErrno("pipe2");
    Fd outRead(outPipe[0]), outWrite(outPipe[1]);
    if (::pipe2(errPipe, O_CLOEXEC) != 0) throwErrno("pipe2");
    Fd errRead(errPipe[0]), errWrite(errPipe[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inChild.get(), 0);
    posix_spawn_file_actions_adddup2(&actions, outWrite.get(), 1);
    posix_spawn_file_actions_adddup2(&actions, errWrite.get(), 2);
    // The caller may be a window whose threads block or ignore signals; the program starts clean.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGCHLD}) sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawnError = ::posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (spawnError != 0) throw std::system_error(spawnError, std::generic_category(), argv[0]);
    return {ChildProcess(pid), std::move(inParent), std::move(outRead), std::move(errRead)};
}

std::string lastLine(const std::string& text) {
    std::istringstream in(text);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty()) last = line;
    return last;
}

ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input,
                         std::chrono::milliseconds deadline, const std::atomic<bool>* cancel) {
    SpawnedProcess spawned = spawnWithStreams(argv);
    ChildProcess& child = spawned.process;
    const auto end = Clock::now() + deadline;
    setNonBlocking(spawned.in);
    setNonBlocking(spawned.out);
    setNonBlocking(spawned.err);

    ProcessResult result;
    auto finish = [&] {
        drain(spawned.out, result.out);
        drain(spawned.err, result.err);
        result.status = child.status();
        return result;
    };
    std::size_t written = 0;
    if (input.empty()) spawned.in.reset();
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        const bool cancelled = cancel && cancel->load();
        if (left.count() <= 0 || cancelled) {
            child.kill();
            (cancelled ? result.cancelled : result.timedOut) = true;
            return finish();
        }
        awaitStreams(spawned.in, true, spawned.out, spawned.err, child, left, cancel != nullptr);
        sendSome(spawned.in, input, written);
        if (spawned.in && written == input.size()) spawned.in.reset();  // end of the input
        drain(spawned.out, result.out);
        drain(spawned.err, result.err);
        if (child.poll()) return finish();
    }
}

pid_t spawnQuiet(const std::vector<std::string>& argv, const std::vector<std::string>* env, bool newSession) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    if (env) {
        for (const std::string& e : *env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    if (newSession) posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, args[0], &actions, &attr, args.data(), env ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (error != 0) throw std::system_error(error, std::generic_category(), argv[0]);
    return pid;
}

std::string endInWords(int status) {
    if (WIFSIGNALED(status)) {
        switch (WTERMSIG(status)) {
            case SIGSEGV: return "崩溃（内存访问错误）";
            case SIGBUS: return "崩溃（总线错误）";
            case SIGABRT: return "异常中止";
            case SIGKILL: return "被强制结束";
            case SIGTERM: return "被要求结束";
            case SIGINT: return "被中断";
            default: return "被信号 " + std::to_string(WTERMSIG(status)) + " 结束";
        }
    }
    switch (WEXITSTATUS(status)) {
        case 0: return "正常结束，但没有完成工作";
        case 126: return "无法执行";
        case 127: return "找不到要运行的程序";
        default: return "以错误代码 " + std::to_string(WEXITSTATUS(status)) + " 结束";
    }
}

}  // namespace wallcalc
