// wallcalc-office: drives LibreOffice through UNO for the program, in a process of its own so that
// a hung or crashing office costs this helper and not the window; office/helper_protocol.h says
// what it reads and answers.
//
//   wallcalc-office [--deadline-ms N]
//
// Showing a document: the office listening at WALLCALC_OFFICE (a UNO connection description such
// as "pipe,name=NAME") is used if that is set; otherwise the engineer's office is reached on the
// program's own pipe, named for the user and the display, and started with that pipe first if
// nothing answers there; it outlives the helper. Before a document is made, the office is checked
// to show on the display of the caller: an office without a display, or on another one, is
// refused (unless WALLCALC_OFFICE_ALLOW_HIDDEN=1, for tests against a headless office).
//
// Saving documents: the office at WALLCALC_OFFICE, else the engineer's office on the program's
// pipe when it is running, else a headless office of this helper's own on the program's kept
// profile in the user's cache directory (a throw-away one when another helper holds it). That
// office and the file being written end with the helper, and the helper with its caller: at the
// end of its input the office is asked to terminate, so that the profile is left whole for the
// next start; when the caller's end of the input goes mid-request (the caller ended, however) or
// a signal asks the helper to end, a watchdog thread kills the office's process group (its
// launcher and the soffice.bin it forks), removes a throw-away profile and the unfinished file,
// and exits.

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/ConnectionSetupException.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/uno/DeploymentException.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>
#include <rtl/ustring.hxx>

#include "office/export_fault.h"
#include "office/helper/book.h"
#include "office/helper_protocol.h"
#include "office/office_settings.h"
#include "office/paragraphs.h"
#include "office/plain_symbols.h"
#include "office/process.h"

extern char** environ;

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using Clock = std::chrono::steady_clock;
using rtl::OUString;

namespace {

namespace helper_protocol = wallcalc::helper_protocol;
using helper_protocol::Request;

[[noreturn]] void fail(int number, std::string what);

// The display of an environment: X11's DISPLAY without its screen number (":0.0" is ":0"),
// else the Wayland socket; empty without either.
std::string displayIn(const std::vector<std::string>& environment) {
    std::string x11, wayland;
    for (const std::string& entry : environment) {
        if (entry.starts_with("DISPLAY=")) x11 = entry.substr(8);
        if (entry.starts_with("WAYLAND_DISPLAY=")) wayland = entry.substr(16);
    }
    if (!x11.empty()) {
        const std::size_t colon = x11.rfind(':');
        const std::size_t dot = x11.find('.', colon == std::string::npos ? 0 : colon);
        if (colon != std::string::npos && dot != std::string::npos) x11.erase(dot);
        return x11;
    }
    return wayland.empty() ? std::string() : "wayland:" + wayland;
}

std::vector<std::string> ownEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    return env;
}

// The pipe on which the engineer's office is asked to listen for this program: one for each user
// and display, so that an office started for one display never serves another.
std::string ownPipe(const std::string& display) {
    std::string tag = display;
    if (tag.empty()) {
        const char* session = std::getenv("XDG_SESSION_ID");
        tag = session && *session ? std::string("session") + session : "nodisplay";
    }
    for (char& c : tag)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return "pipe,name=wallcalc_office_" + std::to_string(::getuid()) + "_" + tag;
}

std::vector<std::string> nulSeparated(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> items;
    std::string item;
    while (std::getline(in, item, '\0')) items.push_back(item);
    return items;
}

// The process of this user that listens on the UNO pipe `name`, found through the socket's
// inode; 0 when there is none.
pid_t listenerOf(const std::string& name) {
    const std::string path = "/tmp/OSL_PIPE_" + std::to_string(::getuid()) + "_" + name;
    std::ifstream table("/proc/net/unix");
    std::string line, inode;
    while (std::getline(table, line)) {
        if (!line.ends_with(" " + path)) continue;
        std::istringstream fields(line);
        std::string num, refs, protocol, flags, type, state;
        fields >> num >> refs >> protocol >> flags >> type >> state >> inode;
        if (flags == "00010000") break;  // the listening socket
        inode.clear();
    }
    if (inode.empty()) return 0;
    const std::string target = "socket:[" + inode + "]";
    DIR* proc = ::opendir("/proc");
    if (!proc) return 0;
    pid_t found = 0;
    while (dirent* entry = ::readdir(proc)) {
        if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) continue;
        const std::string fdDir = std::string("/proc/") + entry->d_name + "/fd";
        struct stat info {};
        if (::stat(fdDir.c_str(), &info) != 0 || info.st_uid != ::getuid()) continue;
        DIR* fds = ::opendir(fdDir.c_str());
        if (!fds) continue;
        while (dirent* fd = ::readdir(fds)) {
            char link[64];
            const ssize_t n = ::readlinkat(::dirfd(fds), fd->d_name, link, sizeof link - 1);
            if (n > 0 && std::string(link, static_cast<std::size_t>(n)) == target) {
                found = static_cast<pid_t>(std::atoi(entry->d_name));
                break;
            }
        }
        ::closedir(fds);
        if (found) break;
    }
    ::closedir(proc);
    return found;
}

// Refuses an office that the engineer cannot see: one without a display, or on another
// display than the caller's. Judged from the office process's own command line and environment.
void requireVisibleOffice(const std::string& connection, const std::string& display) {
    using wallcalc::export_fault::kCannotCreate;
    const char* allow = std::getenv("WALLCALC_OFFICE_ALLOW_HIDDEN");
    if (allow && std::string(allow) == "1") return;
    const std::string prefix = "pipe,name=";
    pid_t office = 0;
    if (connection.starts_with(prefix))
        office = listenerOf(connection.substr(prefix.size(), connection.find(',', prefix.size()) - prefix.size()));
    if (office == 0) fail(kCannotCreate, "无法确认文字处理软件显示在本屏幕上，计算书没有交给它");
    for (const std::string& arg : nulSeparated("/proc/" + std::to_string(office) + "/cmdline"))
        if (arg == "--headless" || arg == "-headless" || arg.starts_with("--headless="))
            fail(kCannotCreate, "LibreOffice 正以无界面方式运行，在那里打开的计算书谁也看不到。请关闭它后再保存计算书");
    const std::vector<std::string> environment = nulSeparated("/proc/" + std::to_string(office) + "/environ");
    for (const std::string& entry : environment)
        if (entry == "SAL_USE_VCLPLUGIN=svp")
            fail(kCannotCreate, "LibreOffice 正以无界面方式运行，在那里打开的计算书谁也看不到。请关闭它后再保存计算书");
    const std::string officeDisplay = displayIn(environment);
    if (officeDisplay != display)
        fail(kCannotCreate,
             "LibreOffice 已在另一个屏幕（" + (officeDisplay.empty() ? std::string("无显示器") : officeDisplay) +
                 "）上运行，在那里打开的计算书在本屏幕上看不到。请关闭那里的 LibreOffice 后再保存计算书");
}

std::string utf8(const OUString& text) {
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

std::string plain(const OUString& message) {
    std::string text = utf8(message);
    for (const char* cut : {" at ", "/", "\n"}) {
        const std::size_t at = text.find(cut);
        if (at != std::string::npos) text.erase(at);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == ':')) text.pop_back();
    return text.empty() ? "原因不明" : text;
}
OUString ustr(const std::string& text) {
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

// ---- What ends with the helper ---------------------------------------------------------------

// The helper's own office, its profile and the file of the last save: ended once, by the main
// thread at the end of the input, by the watchdog when the caller goes, or by a fault.
struct Owned {
    std::mutex mutex;
    pid_t officeGroup = 0;  // the launcher, which heads the office's process group
    std::string profile;    // a throw-away profile, removed at the end; empty for the kept one
    std::string lastFile;   // the caller renames it after "done"; left over only when it could not
    bool released = false;
};
Owned& owned() {
    static Owned instance;
    return instance;
}
// Between a request read whole and its answer: an input that ends then is a caller that went.
std::atomic<bool> busy{false};

// Ends the helper's own office: with `desktop`, asked to terminate first and given 10 s; then its
// process group is killed and every process it left (this helper is their subreaper) reaped.
void releaseOwned(const Reference<css::frame::XDesktop2>& desktop = {}) {
    Owned& own = owned();
    // Reaps every process this helper has until none is left or `limit` has passed.
    auto reapAll = [](std::chrono::seconds limit) {
        const auto until = Clock::now() + limit;
        for (int status = 0; Clock::now() < until;) {
            const pid_t ended = ::waitpid(-1, &status, WNOHANG);
            if (ended < 0 && errno == ECHILD) return;
            if (ended <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    };
    // Unlocked: an office that hangs in terminate is killed by the watchdog meanwhile.
    if (desktop.is() && own.officeGroup > 0) {
        try {
            desktop->terminate();
        } catch (const css::uno::Exception&) {
        }
        reapAll(std::chrono::seconds(10));
    }
    std::lock_guard lock(own.mutex);
    if (own.released) return;
    own.released = true;
    if (own.officeGroup > 0) {
        ::kill(-own.officeGroup, SIGKILL);
        reapAll(std::chrono::seconds(5));
    }
    std::error_code ignored;
    if (!own.profile.empty()) std::filesystem::remove_all(own.profile, ignored);
    if (!own.lastFile.empty()) std::filesystem::remove(own.lastFile, ignored);
}

// One protocol line on standard output. A caller that is no longer there to read it ends the
// helper.
void say(std::string_view line) {
    const std::string text = std::string(line) + "\n";
    if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        releaseOwned();
        std::_Exit(1);
    }
}

[[noreturn]] void fail(int number, std::string what) {
    say(helper_protocol::faultLine(number, std::move(what)));
    releaseOwned();
    std::_Exit(1);
}

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// Watches the caller's end of the input and the signals that ask the helper to end. An input
// closed while the helper waits for a request is the orderly end, which the main thread sees and
// is given 20 s for; closed while it works, the caller has gone, and what the helper owns goes
// now.
void watchCaller() {
    if (::pipe2(signalPipe, O_CLOEXEC) != 0) return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    std::thread([] {
        pollfd fds[2] = {{0, 0, 0}, {signalPipe[0], POLLIN, 0}};
        int timeout = -1;
        for (;;) {
            const int ready = ::poll(fds, 2, timeout);
            if (ready < 0) {
                if (errno == EINTR) continue;
                return;
            }
            const bool signalled = fds[1].revents & POLLIN;
            if (fds[0].revents & POLLNVAL) fds[0].fd = -1;
            const bool callerGone = fds[0].revents & (POLLHUP | POLLERR);
            if (!signalled && callerGone && !busy) {
                fds[0].fd = -1;
                timeout = 20000;
            }
            if (signalled || (callerGone && busy) || ready == 0) {
                releaseOwned();
                std::_Exit(1);
            }
        }
    }).detach();
}

// ---- Requests -----------------------------------------------------------------------------------

bool readExactly(std::size_t count, std::string& into) {
    into.resize(count);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(0, into.data() + got, count - got);
        if (n > 0)
            got += static_cast<std::size_t>(n);
        else if (n == 0 || errno != EINTR)
            return false;
    }
    return true;
}

bool readLine(std::string& line) {
    line.clear();
    char c;
    for (;;) {
        const ssize_t n = ::read(0, &c, 1);
        if (n == 1) {
            if (c == '\n') return true;
            line += c;
        } else if (n == 0 || errno != EINTR) {
            return false;
        }
    }
}

bool readRequest(Request& request) {
    busy = false;
    const bool read = helper_protocol::decode(readLine, readExactly, request);
    busy = read;
    return read;
}

// ---- Reaching the office ----------------------------------------------------------------------

std::string sofficePath() {
    const char* given = std::getenv("WALLCALC_SOFFICE");
    return given && *given ? given : WALLCALC_OFFICE_PROGRAM_DIR "/soffice";
}

// The environment of an office started from here: without the helper's bootstrap setting.
std::vector<std::string> officeEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "URE_BOOTSTRAP=", 14) != 0) env.emplace_back(*e);
    return env;
}

// Starts the engineer's office in a session of its own, detached from this helper: it must
// outlive the helper, and a kill of the helper at its deadline must not reach it.
pid_t startVisibleOffice(const std::string& accept) {
    const std::string soffice = sofficePath();
    if (::access(soffice.c_str(), X_OK) != 0)
        fail(wallcalc::export_fault::kCannotCreate, "未找到文字处理软件，请安装 LibreOffice Writer");
    const std::vector<std::string> env = officeEnvironment();
    try {
        return wallcalc::spawnQuiet(
            {soffice, "--norestore", "--nologo", "--nodefault", "--nolockcheck", "--accept=" + accept + ";urp;"}, &env,
            true);
    } catch (const std::system_error&) {
        fail(wallcalc::export_fault::kCannotCreate, "未找到文字处理软件，请安装 LibreOffice Writer");
    }
}

// The processes of this user whose command line has `arg` among its arguments.
std::vector<pid_t> processesWithArgument(const std::string& arg) {
    std::vector<pid_t> found;
    DIR* proc = ::opendir("/proc");
    if (!proc) return found;
    while (dirent* entry = ::readdir(proc)) {
        if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) continue;
        const std::string dir = std::string("/proc/") + entry->d_name;
        struct stat info {};
        if (::stat(dir.c_str(), &info) != 0 || info.st_uid != ::getuid()) continue;
        const std::vector<std::string> args = nulSeparated(dir + "/cmdline");
        if (std::find(args.begin(), args.end(), arg) != args.end())
            found.push_back(static_cast<pid_t>(std::atoi(entry->d_name)));
    }
    ::closedir(proc);
    return found;
}

// The profile of the helper's own office, as the office's -env:UserInstallation takes it.
//
// The program keeps one profile of its own in the user's cache directory ($XDG_CACHE_HOME, else
// ~/.cache): an office that has to make a new profile first starts a good deal more slowly, and
// every save that starts an office would pay for it. The helper holds a lock on it for its life (the kernel lets go of
// it with the helper, however the helper ends); a second helper at the same time gets a
// throw-away profile in TMPDIR, as does a helper without a cache directory. An office still
// running on the kept profile while the lock is free belongs to a helper that was killed together
// with its caller: it is ended first, so that it cannot take the request over.
std::string ownProfileUrl() {
    using wallcalc::export_fault::kCannotCreate;
    std::string cache;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
        cache = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        cache = std::string(home) + "/.cache";
    std::error_code error;
    const std::string dir = cache + "/wallcalc";
    if (!cache.empty() && (std::filesystem::create_directories(dir, error), !error)) {
        const int lock = ::open((dir + "/office-profile.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) == 0) {
            // The lock stays held, its descriptor open, until the helper ends.
            OUString url;
            osl::FileBase::getFileURLFromSystemPath(ustr(dir + "/office-profile"), url);
            const std::string profileUrl = utf8(url);
            std::vector<pid_t> left = processesWithArgument("-env:UserInstallation=" + profileUrl);
            for (pid_t pid : left) {
                const pid_t group = ::getpgid(pid);
                ::kill(group > 1 && group != ::getpgrp() ? -group : pid, SIGKILL);
            }
            for (const auto until = Clock::now() + std::chrono::seconds(5); !left.empty() && Clock::now() < until;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                left = processesWithArgument("-env:UserInstallation=" + profileUrl);
            }
            return profileUrl;
        }
        if (lock >= 0) ::close(lock);
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string throwAway = std::string(tmp && *tmp ? tmp : "/tmp") + "/wallcalc-save-XXXXXX";
    if (!::mkdtemp(throwAway.data())) fail(kCannotCreate, std::string("无法启动文字处理软件：") + std::strerror(errno));
    {
        std::lock_guard lock(owned().mutex);
        owned().profile = throwAway;
    }
    OUString url;
    osl::FileBase::getFileURLFromSystemPath(ustr(throwAway + "/profile"), url);
    return utf8(url);
}

// Starts a headless office of the helper's own, heading a process group of its own; it ends with
// the helper (releaseOwned).
pid_t startOwnOffice(std::string& connection) {
    using wallcalc::export_fault::kCannotCreate;
    const std::string soffice = sofficePath();
    if (::access(soffice.c_str(), X_OK) != 0)
        fail(kCannotCreate, "无法启动文字处理软件：没有安装 LibreOffice（找不到 " + soffice + "）");
    const std::string profile = ownProfileUrl();
    connection = "pipe,name=wallcalc_save_" + std::to_string(::getpid());
    // The office's processes are reaped here even when its launcher ends before them.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    const std::vector<std::string> env = officeEnvironment();
    try {
        const pid_t pid = wallcalc::spawnQuiet(
            {soffice, "--headless", "--invisible", "--norestore", "--nologo", "--nodefault", "--nolockcheck",
             "-env:UserInstallation=" + profile, "--accept=" + connection + ";urp;"},
            &env, true);
        std::lock_guard lock(owned().mutex);
        owned().officeGroup = pid;
        return pid;
    } catch (const std::system_error& error) {
        fail(kCannotCreate, "无法启动文字处理软件：" + soffice + "：" + std::strerror(error.code().value()));
    }
}

// How an office starts.
enum class Start {
    None,     // only connect
    Visible,  // start the engineer's office when nothing answers
    Own,      // the helper's own office was started: its end is a failure at once
};

// Connects to the office listening at `connection`, starting the engineer's office first where
// `start` says so and nothing answers. A launcher that ends with an error, or the helper's own
// office ending at all, fails at once; otherwise it gives up at `deadline`.
Reference<css::uno::XComponentContext> connect(const Reference<css::uno::XComponentContext>& local,
                                               const std::string& connection, Start start, pid_t own,
                                               Clock::time_point deadline, const std::string& deadlineText) {
    using namespace wallcalc::export_fault;
    Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local);
    const OUString url = ustr("uno:" + connection + ";urp;StarOffice.ComponentContext");
    pid_t launcher = start == Start::Own ? own : 0;
    for (;;) {
        try {
            return Reference<css::uno::XComponentContext>(resolver->resolve(url), UNO_QUERY_THROW);
        } catch (const css::connection::NoConnectException&) {
        } catch (const css::connection::ConnectionSetupException& e) {
            fail(kCannotCreate, "无法连接文字处理软件：连接描述 " + connection + " 无效（" + plain(e.Message) + "）");
        } catch (const css::lang::IllegalArgumentException& e) {
            fail(kCannotCreate, "无法连接文字处理软件：连接描述 " + connection + " 无效（" + plain(e.Message) + "）");
        } catch (const css::uno::RuntimeException&) {
            fail(kCannotCreate, "文字处理软件在连接过程中退出了，请再保存一次");
        }
        if (start == Start::Visible && launcher == 0) {
            launcher = startVisibleOffice(connection);
            say(helper_protocol::startedLine(launcher));
            start = Start::None;
        }
        // The engineer's office's launcher either hands the request to an office already running
        // and ends, or runs the office; the helper's own office runs as long as its launcher.
        int status = 0;
        if (launcher > 0 && ::waitpid(launcher, &status, WNOHANG) == launcher) {
            if (launcher == own || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
                fail(kCannotCreate,
                     "文字处理软件 LibreOffice 在启动过程中" + wallcalc::endInWords(status) + "，请再保存一次");
            launcher = -1;
        }
        if (Clock::now() >= deadline) {
            fail(kCannotCreate, start != Start::None || own > 0 || launcher != 0
                                    ? "无法启动文字处理软件：LibreOffice 在" + deadlineText + "内没有应答"
                                    : "无法连接文字处理软件：" + connection + " 上在" + deadlineText + "内没有应答");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

Reference<css::uno::XComponentContext> tryConnect(const Reference<css::uno::XComponentContext>& local,
                                                  const std::string& connection) {
    try {
        Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local);
        return Reference<css::uno::XComponentContext>(
            resolver->resolve(ustr("uno:" + connection + ";urp;StarOffice.ComponentContext")), UNO_QUERY);
    } catch (const css::uno::Exception&) {
        return {};
    }
}

// ---- The two jobs -------------------------------------------------------------------------------

// A new Writer document with the report, its window in front; the office keeps it, unsaved.
void show(const Reference<css::frame::XDesktop2>& desktop, const Reference<css::uno::XComponentContext>& remote,
          const Request& request) {
    const std::string& report = request.report;
    using namespace wallcalc::export_fault;
    const char* step = "新建文档";
    try {
        Reference<css::lang::XComponent> component = desktop->loadComponentFromURL(
            "private:factory/swriter", "_blank", 0, css::uno::Sequence<css::beans::PropertyValue>());
        Reference<css::text::XTextDocument> document(component, UNO_QUERY);
        if (!document.is()) fail(kAutomation, "未找到文字处理软件，请安装 LibreOffice Writer");

        step = "显示文档窗口";
        Reference<css::frame::XModel> model(document, UNO_QUERY_THROW);
        Reference<css::frame::XController> controller = model->getCurrentController();
        if (controller.is()) {
            Reference<css::awt::XWindow> window = controller->getFrame()->getContainerWindow();
            if (window.is()) {
                window->setVisible(true);
                Reference<css::awt::XTopWindow> top(window, UNO_QUERY);
                if (top.is()) top->toFront();
            }
        }

        step = "写入计算书";
        if (request.book) {
            wallcalc::helper::buildBook(remote, document, report);
            return;
        }
        // Standard Unicode throughout: no character needs a font of the program's.
        wallcalc::helper::setReportFonts(document);
        document->getText()->setString(ustr(wallcalc::toParagraphText(wallcalc::standardSymbols(report))));
    } catch (const css::lang::DisposedException&) {
        fail(kAutomation, std::string("文字处理软件在") + step + "时退出或断开了连接");
    } catch (const css::uno::Exception& e) {
        fail(kAutomation, std::string("文字处理软件拒绝了") + step + "：" + plain(e.Message));
    }
    // Every reference to the office's objects is gone with the scope above.
}

// A hidden Writer document with the report, stored through `filter` at `path` and closed. A
// refusal is answered and the next request served; an office that went ends the helper.
void save(const Reference<css::frame::XDesktop2>& desktop, const Reference<css::uno::XComponentContext>& remote,
          const Request& request) {
    using namespace wallcalc::export_fault;
    {
        std::lock_guard lock(owned().mutex);
        owned().lastFile = request.path;
    }
    const char* step = "新建文档";
    try {
        css::uno::Sequence<css::beans::PropertyValue> hidden(1);
        hidden.getArray()[0].Name = "Hidden";
        hidden.getArray()[0].Value <<= true;
        Reference<css::lang::XComponent> component =
            desktop->loadComponentFromURL("private:factory/swriter", "_blank", 0, hidden);
        Reference<css::text::XTextDocument> document(component, UNO_QUERY);
        if (!document.is()) fail(kAutomation, "文字处理软件没有新建文档：LibreOffice 中没有安装 Writer");
        step = "写入计算书";
        if (request.book)
            wallcalc::helper::buildBook(remote, document, request.report);
        else {
            wallcalc::helper::setReportFonts(document);
            document->getText()->setString(ustr(wallcalc::toParagraphText(wallcalc::standardSymbols(request.report))));
        }
        step = "保存计算书";
        OUString url;
        osl::FileBase::getFileURLFromSystemPath(ustr(request.path), url);
        css::uno::Sequence<css::beans::PropertyValue> store(2);
        store.getArray()[0].Name = "FilterName";
        store.getArray()[0].Value <<= ustr(request.filter);
        store.getArray()[1].Name = "Overwrite";
        store.getArray()[1].Value <<= true;
        Reference<css::frame::XStorable>(document, UNO_QUERY_THROW)->storeToURL(url, store);
        step = "关闭文档";
        Reference<css::util::XCloseable> closeable(document, UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
        else
            component->dispose();
        say(helper_protocol::kDone);
    } catch (const css::lang::DisposedException&) {
        fail(kAutomation, std::string("文字处理软件在") + step + "时退出或断开了连接");
    } catch (const css::uno::Exception& e) {
        say(helper_protocol::faultLine(kAutomation, std::string("文字处理软件拒绝了") + step + "：" + utf8(e.Message)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace wallcalc::export_fault;
    const auto started = Clock::now();
    std::chrono::milliseconds deadline{60000};
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--deadline-ms") == 0 && i + 1 < argc)
            deadline = std::chrono::milliseconds(std::atoll(argv[++i]));
    // Whatever descriptors the caller let through stay out of the office started from here.
    ::syscall(SYS_close_range, 3U, ~0U, 0U);

    Request request;
    if (!readRequest(request)) return 0;
    const bool showing = request.kind == Request::Kind::Show;
    const char* given = std::getenv("WALLCALC_OFFICE");
    const bool reachGiven = given && *given;
    const std::string display = displayIn(ownEnvironment());
    // Without a display an office would be started where nobody sees it; saving a document
    // shows nothing and needs none.
    if (showing && !reachGiven && display.empty())
        fail(kCannotCreate, "本程序没有在图形界面中运行（没有显示器），文字处理软件无法显示计算书");

    // Without the bootstrap file the local UNO context has no type information for remote
    // errors, and the first remote call crashes.
    ::setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" WALLCALC_OFFICE_PROGRAM_DIR "/fundamentalrc", 0);
    Reference<css::uno::XComponentContext> local;
    try {
        local = cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception& e) {
        fail(kCannotCreate, "无法初始化文字处理软件的接口：" + plain(e.Message) + "，请重新安装 LibreOffice Writer");
    }
    watchCaller();

    std::string connection = reachGiven ? given : ownPipe(display);
    Reference<css::uno::XComponentContext> remote;
    try {
        if (showing) {
            // Connecting may take most of the time; the document calls need the rest.
            const auto reserve = std::min<std::chrono::milliseconds>(deadline / 4, std::chrono::milliseconds(5000));
            remote = connect(local, connection, reachGiven ? Start::None : Start::Visible, 0,
                             started + deadline - reserve, wallcalc::deadlineText(deadline - reserve));
            requireVisibleOffice(connection, display);
        } else {
            if (!reachGiven) remote = tryConnect(local, connection);
            pid_t own = 0;
            if (!remote.is() && !reachGiven) {
                own = startOwnOffice(connection);
                say(helper_protocol::startedLine(own));
            }
            if (!remote.is())
                remote = connect(local, connection, own > 0 ? Start::Own : Start::None, own, started + deadline,
                                 wallcalc::deadlineText(deadline));
        }
    } catch (const css::uno::Exception& e) {
        fail(kCannotCreate, "无法连接文字处理软件：" + plain(e.Message));
    }
    say(helper_protocol::kConnected);

    Reference<css::frame::XDesktop2> desktop;
    try {
        desktop = css::frame::Desktop::create(remote);
    } catch (const css::lang::DisposedException& e) {
        if (showing) fail(kAutomation, "文字处理软件在新建文档时退出或断开了连接");
        fail(kCannotCreate, "无法连接文字处理软件：" + utf8(e.Message));
    } catch (const css::uno::Exception& e) {
        if (showing) fail(kAutomation, "文字处理软件拒绝了新建文档：" + plain(e.Message));
        fail(kCannotCreate, "无法连接文字处理软件：" + utf8(e.Message));
    }
    do {
        if (request.kind == Request::Kind::Show) {
            show(desktop, remote, request);
            say(helper_protocol::kDone);
        } else {
            save(desktop, remote, request);
        }
    } while (readRequest(request));
    releaseOwned(desktop);
    return 0;
}
