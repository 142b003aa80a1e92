#include "tests/support/office/headless_office.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "office/process.h"

extern char** environ;

namespace wallcalc::testing {
namespace {

using namespace std::chrono_literals;

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char c = text[++i];
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        } else {
            out += text[i];
        }
    }
    return out;
}

ProcessResult probe(const std::string& connection, const std::string& command, std::chrono::milliseconds deadline) {
    return runProcess({WALLCALC_OFFICE_PROBE, connection, command, std::to_string(deadline.count())}, {},
                      deadline + 5s);
}

bool succeeded(const ProcessResult& run) {
    return !run.timedOut && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;
}

// Waits for `pid` to end, up to `limit`; true when it was reaped.
bool reapWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
}

std::vector<pid_t> childrenOf(pid_t pid) {
    std::vector<pid_t> children;
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    pid_t child = 0;
    while (in >> child) children.push_back(child);
    return children;
}

}  // namespace

bool officeAvailable() {
    return ::access(WALLCALC_OFFICE_PROGRAM_DIR "/soffice", X_OK) == 0 && ::access(WALLCALC_OFFICE_PROBE, X_OK) == 0;
}

HeadlessOffice::HeadlessOffice(bool waitUntilReady, std::string profileDir) {
    // The launcher runs the office as its child; should the launcher die first, the office is
    // handed to this process instead of init, so that it can still be reaped here.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);

    std::string dirTemplate = (std::filesystem::temp_directory_path() / "wallcalc-office-XXXXXX").string();
    if (!::mkdtemp(dirTemplate.data())) throw std::runtime_error("mkdtemp failed");
    tempDir_ = dirTemplate;
    if (profileDir.empty()) profileDir = tempDir_ + "/profile";
    static std::atomic<int> counter{0};
    connection_ = "pipe,name=wallcalc_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);

    std::vector<std::string> args{WALLCALC_OFFICE_PROGRAM_DIR "/soffice",
                                  "--headless",
                                  "--invisible",
                                  "--norestore",
                                  "--nologo",
                                  "--nodefault",
                                  "--nolockcheck",
                                  "-env:UserInstallation=file://" + profileDir,
                                  "--accept=" + connection_ + ";urp;"};
    try {
        launcher_ = spawnQuiet(args, nullptr, false);
    } catch (const std::system_error& error) {
        launcher_ = -1;
        std::filesystem::remove_all(tempDir_);
        throw std::runtime_error("cannot start the office: " + std::string(std::strerror(error.code().value())));
    }
    if (waitUntilReady && !succeeded(probe(connection_, "documents", 30s))) {
        stop();
        throw std::runtime_error("the headless office did not answer within 30 s");
    }
}

HeadlessOffice::~HeadlessOffice() { stop(); }

void HeadlessOffice::stop() {
    if (launcher_ > 0) {
        // Only a headless office terminates without asking about the unsaved documents.
        probe(connection_, "terminate", 5s);
        if (!reapWithin(launcher_, 15s)) {
            const std::vector<pid_t> office = childrenOf(launcher_);
            for (pid_t pid : office) ::kill(pid, SIGKILL);
            ::kill(launcher_, SIGKILL);
            reapWithin(launcher_, 5s);
            for (pid_t pid : office) reapWithin(pid, 5s);
        }
        launcher_ = -1;
    }
    if (!tempDir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(tempDir_, ignored);
        tempDir_.clear();
    }
}

std::vector<HeadlessOffice::Document> HeadlessOffice::documents() const {
    const ProcessResult run = probe(connection_, "documents", 10s);
    if (!succeeded(run)) throw std::runtime_error("cannot read the documents back: " + run.err);
    std::vector<Document> documents;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("document ")) {
            Document document;
            std::istringstream fields(line.substr(9));
            int location = 0, modified = 0;
            fields >> location >> modified >> document.symbolRuns >> document.symbolRunsInFont;
            document.hasLocation = location != 0;
            document.modified = modified != 0;
            documents.push_back(std::move(document));
        } else if (line.starts_with("paragraph ") && !documents.empty()) {
            documents.back().paragraphs.push_back(unescape(line.substr(10)));
        }
    }
    return documents;
}

}  // namespace wallcalc::testing
