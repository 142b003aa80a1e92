#pragma once
// Running programs without a shell (Linux): owning types for a descriptor and a child process,
// a program started with its standard streams on this side's descriptors, and a program run to
// its end with a deadline.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wallcalc {

// Owns one file descriptor; closes it when it goes.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = other.release();
        }
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return fd_; }
    void reset();
    int release() { return std::exchange(fd_, -1); }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Owns a child process: until it is reaped here, going kills it (SIGKILL) and reaps it, so that
// no path leaves a process running or a zombie behind.
class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(pid_t pid);
    ChildProcess(ChildProcess&& other) noexcept
        : pid_(std::exchange(other.pid_, -1)), ended_(std::move(other.ended_)), status_(other.status_) {}
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess() { kill(); }

    pid_t pid() const { return pid_; }
    // Until reaped.
    bool running() const { return pid_ > 0; }
    // Readable once the process has ended (a process descriptor; empty on old kernels).
    const Fd& endedFd() const { return ended_; }
    // Reaps it if it has ended; true once it is reaped. ECHILD (something else reaped it)
    // counts as an end with status 0.
    bool poll();
    // Waits for its end up to `limit`; true once it is reaped.
    bool waitFor(std::chrono::milliseconds limit);
    // SIGKILL and reap.
    void kill();
    // As waitpid gives it, once reaped.
    int status() const { return status_; }

private:
    pid_t pid_ = -1;
    Fd ended_;
    int status_ = 0;
};

// A program started with its standard input on a socket (a program that ends before reading
// its input gives the writer an error, not a SIGPIPE) and its output and error on pipes. The
// three descriptors are this side's ends, close-on-exec. The program starts with default signal
// handling and nothing blocked, whatever the calling thread had. Throws std::system_error when
// it cannot be started.
struct SpawnedProcess {
    ChildProcess process;
    Fd in;
    Fd out;
    Fd err;
};
SpawnedProcess spawnWithStreams(const std::vector<std::string>& argv);

struct ProcessResult {
    bool timedOut = false;   // killed at the deadline
    bool cancelled = false;  // killed because `cancel` was set
    int status = 0;          // as waitpid gives it
    std::string out;
    std::string err;
};

// Runs a program to its end with `input` on its standard input, collecting its output and
// error; past `deadline` it is killed and reaped. Throws std::system_error when it cannot be
// started. Where `cancel` is given, the program is killed and reaped within some 50 ms of its
// being set, from any thread.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input,
                         std::chrono::milliseconds deadline, const std::atomic<bool>* cancel = nullptr);

// Reads what is there on a non-blocking descriptor; closes it at end of file.
void drain(Fd& fd, std::string& into);
void setNonBlocking(const Fd& fd);
// Sends what `fd` takes now of `bytes` from `sent` on, without blocking; closes `fd` when the
// reader has gone.
void sendSome(Fd& fd, std::string_view bytes, std::size_t& sent);
// Waits up to `left` until `in` takes more (while `sending`), `out` or `err` has something, or
// `child` has ended; without a process descriptor (old kernels) no longer than 20 ms, and where
// a cancel is to be looked for no longer than 50 ms.
void awaitStreams(const Fd& in, bool sending, const Fd& out, const Fd& err, const ChildProcess& child,
                  std::chrono::milliseconds left, bool cancellable);

// Starts a program that is not waited for: its standard streams on /dev/null, so that it holds
// none of the caller's pipes open, with `env` as its environment (nullptr: this process's), in
// a session of its own where `newSession` (its process group then bears its id). Gives the
// process id, or throws std::system_error.
pid_t spawnQuiet(const std::vector<std::string>& argv, const std::vector<std::string>* env, bool newSession);

// The last line of `text` that is not empty (what a program said last on its error stream).
std::string lastLine(const std::string& text);

// How a process ended, in the words of a message: "崩溃（内存访问错误）", "以错误代码 3 结束".
// `status` as waitpid gives it.
std::string endInWords(int status);

}  // namespace wallcalc
