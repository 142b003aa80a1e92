#pragma once
// Running a program to its end with a deadline, without a shell: its standard input is fed
// from a string, its standard output and error are collected, and past the deadline it is
// killed and reaped.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace wallcalc {

struct ProcessResult {
    bool timedOut = false;   // killed at the deadline
    bool cancelled = false;  // killed because `cancel` was set
    int status = 0;          // as waitpid gives it
    std::string out;
    std::string err;
};

// A program started with its standard input on a socket (a program that ends before reading
// its input gives the writer an error, not a SIGPIPE) and its output and error on pipes. The
// three descriptors are this side's ends, close-on-exec; the caller closes them and reaps `pid`.
// The program starts with default signal handling and nothing blocked, whatever the calling
// thread had. Throws std::system_error when it cannot be started.
struct SpawnedProcess {
    pid_t pid = -1;
    int in = -1;
    int out = -1;
    int err = -1;
};
SpawnedProcess spawnWithStreams(const std::vector<std::string>& argv);

// Throws std::system_error when the program cannot be started. Where `cancel` is given, the
// program is killed and reaped within some 50 ms of its being set, from any thread.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input,
                         std::chrono::milliseconds deadline, const std::atomic<bool>* cancel = nullptr);

// Starts a program that is not waited for: its standard streams on /dev/null, so that it holds
// none of the caller's pipes open, with `env` as its environment (nullptr: this process's), in
// a session of its own where `newSession`. Gives the process id, or throws std::system_error.
pid_t spawnQuiet(const std::vector<std::string>& argv, const std::vector<std::string>* env, bool newSession);

// The last line of `text` that is not empty (what a program said last on its error stream).
std::string lastLine(const std::string& text);

// How a process ended, in the words of a message: "崩溃（内存访问错误）", "以错误代码 3 结束".
// `status` as waitpid gives it.
std::string endInWords(int status);

}  // namespace wallcalc
