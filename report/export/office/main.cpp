// wallcalc-office: puts the report read on standard input into a new, unsaved LibreOffice Writer
// document, through UNO. It runs in a process of its own so that a hung or crashing office
// costs this helper and not the window; see report/export/helper_exporter.h for the protocol.
//
//   wallcalc-office [--deadline-ms N]
//
// The office listening at WALLCALC_OFFICE (a UNO connection description such as
// "pipe,name=NAME") is used if that is set; otherwise the engineer's office is reached on the
// program's own pipe, and started with that pipe first if nothing answers there.

#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/prctl.h>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
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
#include <com/sun/star/util/XPropertyReplace.hpp>
#include <com/sun/star/util/XReplaceDescriptor.hpp>
#include <com/sun/star/util/XReplaceable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <osl/file.hxx>
#include <rtl/ustring.hxx>

#include "report/export/export_fault.h"
#include "report/export/paragraphs.h"
#include "report/export/plain_symbols.h"
#include "report/export/process.h"

extern char** environ;

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using Clock = std::chrono::steady_clock;
using rtl::OUString;

namespace {

// The pipe on which the engineer's office is asked to listen for this program.
constexpr const char* kOwnPipe = "pipe,name=wallcalc_office";

// One protocol line on standard output.
void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

[[noreturn]] void fail(int number, std::string what) {
    for (char& c : what)
        if (c == '\n' || c == '\r') c = ' ';
    say("fault " + std::to_string(number) + " " + what);
    std::_Exit(1);
}

std::string utf8(const OUString& text) {
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}
OUString ustr(const std::string& text) {
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

std::string readAll(int fd) {
    std::string data;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            data.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            return data;
    }
}

// Starts the office in a session of its own, detached from this helper: it must outlive the
// helper, and a kill of the helper at its deadline must not reach it. Its output goes nowhere,
// so that it holds none of the caller's pipes open.
pid_t startOffice(const std::string& soffice, const std::string& accept) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "URE_BOOTSTRAP=", 14) != 0) env.emplace_back(*e);
    try {
        return wallcalc::spawnQuiet(
            {soffice, "--norestore", "--nologo", "--nodefault", "--nolockcheck", "--accept=" + accept + ";urp;"}, &env,
            true);
    } catch (const std::system_error& error) {
        fail(wallcalc::export_fault::kCannotCreate,
             "无法启动文字处理软件：" + soffice + "：" + std::strerror(error.code().value()));
    }
}

// Connects to the office listening at `connection`, starting one first when `start` says so and
// nothing answers. Gives up at `deadline`.
Reference<css::uno::XComponentContext> connect(const Reference<css::uno::XComponentContext>& local,
                                               const std::string& connection, bool start, Clock::time_point deadline,
                                               const std::string& deadlineText) {
    using namespace wallcalc::export_fault;
    Reference<css::bridge::XUnoUrlResolver> resolver = css::bridge::UnoUrlResolver::create(local);
    const OUString url = ustr("uno:" + connection + ";urp;StarOffice.ComponentContext");
    std::optional<pid_t> launcher;
    for (;;) {
        try {
            return Reference<css::uno::XComponentContext>(resolver->resolve(url), UNO_QUERY_THROW);
        } catch (const css::connection::NoConnectException&) {
        } catch (const css::connection::ConnectionSetupException& e) {
            fail(kCannotCreate, "无法连接文字处理软件：连接描述 " + connection + " 无效（" + utf8(e.Message) + "）");
        } catch (const css::lang::IllegalArgumentException& e) {
            fail(kCannotCreate, "无法连接文字处理软件：连接描述 " + connection + " 无效（" + utf8(e.Message) + "）");
        } catch (const css::uno::RuntimeException& e) {
            fail(kCannotCreate, "无法连接文字处理软件：" + utf8(e.Message));
        }
        if (start && !launcher) {
            const std::string soffice = WALLCALC_OFFICE_PROGRAM_DIR "/soffice";
            if (::access(soffice.c_str(), X_OK) != 0)
                fail(kCannotCreate, "无法启动文字处理软件：没有安装 LibreOffice（找不到 " + soffice + "）");
            launcher = startOffice(soffice, connection);
        }
        if (launcher) {
            // The launcher either hands the request to an office already running and ends, or
            // runs the office; ending with an error means the office did not start.
            int status = 0;
            if (*launcher > 0 && ::waitpid(*launcher, &status, WNOHANG) == *launcher) {
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    fail(kCannotCreate, "无法启动文字处理软件：LibreOffice 启动失败（退出码 " +
                                            std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "）");
                launcher = 0;
            }
        }
        if (Clock::now() >= deadline) {
            fail(kCannotCreate, start ? "无法启动文字处理软件：LibreOffice 在" + deadlineText + "内没有应答"
                                      : "无法连接文字处理软件：" + connection + " 上在" + deadlineText + "内没有应答");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// The report writes a few engineering symbols (², ³, ₁, ₂, Φ, the raised 0.5) as private-use
// characters, which the window draws with the program's symbol font. Without a font named for
// them the office draws whatever glyphs its own symbol font has there; so they are given that
// font where the office knows it, and left to the office's choice where it does not. Only the
// look depends on this: a refusal here leaves the document as it is.
void setSymbolFont(const Reference<css::text::XTextDocument>& document) {
    // One replacement of every run by itself, in that font: a few calls instead of three for
    // each run.
    Reference<css::util::XReplaceable> replaceable(document, UNO_QUERY);
    if (!replaceable.is()) return;
    Reference<css::util::XReplaceDescriptor> replace = replaceable->createReplaceDescriptor();
    replace->setSearchString("[\\x{E000}-\\x{F8FF}]+");
    replace->setReplaceString("&");
    Reference<css::beans::XPropertySet>(replace, UNO_QUERY_THROW)
        ->setPropertyValue("SearchRegularExpression", css::uno::Any(true));
    const css::uno::Any font(OUString("Wallcalc Symbols"));
    css::uno::Sequence<css::beans::PropertyValue> attributes(3);
    auto* a = attributes.getArray();
    a[0].Name = "CharFontName";
    a[1].Name = "CharFontNameAsian";
    a[2].Name = "CharFontNameComplex";
    for (int i = 0; i < 3; ++i) a[i].Value = font;
    Reference<css::util::XPropertyReplace>(replace, UNO_QUERY_THROW)->setReplaceAttributes(attributes);
    replaceable->replaceAll(Reference<css::util::XSearchDescriptor>(replace.get()));
}

std::string secondsText(std::chrono::milliseconds ms) {
    if (ms.count() % 1000 == 0) return std::to_string(ms.count() / 1000) + "秒";
    char text[32];
    std::snprintf(text, sizeof text, "%g秒", static_cast<double>(ms.count()) / 1000.0);
    return text;
}

// ---- Saving documents without showing the office (--serve) ------------------------------------
//
// Requests on standard input, answered one by one (see report/export/helper_session.h):
//   save <filter> <path bytes> <report bytes>\n<path><report>
// The office is the one at WALLCALC_OFFICE, else the engineer's office on the program's pipe
// when it is running, else a headless office of this helper's own with a throw-away profile,
// ended when the input ends.

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

struct OwnOffice {
    pid_t launcher = -1;
    std::string directory;
};

OwnOffice startHeadlessOffice(std::string& connection) {
    const std::string soffice = WALLCALC_OFFICE_PROGRAM_DIR "/soffice";
    if (::access(soffice.c_str(), X_OK) != 0)
        fail(wallcalc::export_fault::kCannotCreate,
             "无法启动文字处理软件：没有安装 LibreOffice（找不到 " + soffice + "）");
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/wallcalc-save-XXXXXX";
    if (!::mkdtemp(dir.data()))
        fail(wallcalc::export_fault::kCannotCreate, std::string("无法启动文字处理软件：") + std::strerror(errno));
    connection = "pipe,name=wallcalc_save_" + std::to_string(::getpid());
    // The office's processes are reaped here even when its launcher ends before them.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "URE_BOOTSTRAP=", 14) != 0) env.emplace_back(*e);
    try {
        const pid_t pid = wallcalc::spawnQuiet(
            {soffice, "--headless", "--invisible", "--norestore", "--nologo", "--nodefault", "--nolockcheck",
             "-env:UserInstallation=file://" + dir + "/profile", "--accept=" + connection + ";urp;"},
            &env, false);
        return {pid, dir};
    } catch (const std::system_error& error) {
        fail(wallcalc::export_fault::kCannotCreate,
             "无法启动文字处理软件：" + soffice + "：" + std::strerror(error.code().value()));
    }
}

void stopHeadlessOffice(const OwnOffice& office, const Reference<css::frame::XDesktop2>& desktop) {
    if (office.launcher <= 0) return;
    try {
        if (desktop.is()) desktop->terminate();
    } catch (const css::uno::Exception&) {
    }
    // Every process the office left is a child of this helper now; wait for them, then stop
    // whatever is still there.
    const auto until = Clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (Clock::now() < until) {
        const pid_t ended = ::waitpid(-1, &status, WNOHANG);
        if (ended < 0 && errno == ECHILD) break;
        if (ended <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(office.launcher, SIGKILL);
    while (::waitpid(-1, &status, WNOHANG) > 0) {
    }
    std::error_code ignored;
    std::filesystem::remove_all(office.directory, ignored);
}

int serve(const Reference<css::uno::XComponentContext>& local, std::chrono::milliseconds deadline) {
    using namespace wallcalc::export_fault;
    const auto started = Clock::now();
    const char* given = std::getenv("WALLCALC_OFFICE");
    std::string connection = given && *given ? given : kOwnPipe;
    Reference<css::uno::XComponentContext> remote;
    OwnOffice own;
    if (given && *given) {
        remote = connect(local, connection, false, started + deadline, secondsText(deadline));
    } else {
        remote = tryConnect(local, connection);
        if (!remote.is()) {
            own = startHeadlessOffice(connection);
            remote = connect(local, connection, false, started + deadline, secondsText(deadline));
        }
    }
    say("connected");
    Reference<css::frame::XDesktop2> desktop;
    try {
        desktop = css::frame::Desktop::create(remote);
    } catch (const css::uno::Exception& e) {
        stopHeadlessOffice(own, desktop);
        fail(kCannotCreate, "无法连接文字处理软件：" + utf8(e.Message));
    }

    std::string header;
    while (readLine(header)) {
        std::size_t pathBytes = 0, reportBytes = 0;
        // The filter names hold blanks ("MS Word 2007 XML"): the two counts are the last words.
        const std::size_t last = header.rfind(' ');
        const std::size_t middle = last == std::string::npos ? last : header.rfind(' ', last - 1);
        std::string path, report;
        if (!header.starts_with("save ") || middle == std::string::npos || middle < 5) break;
        const std::string filterName = header.substr(5, middle - 5);
        pathBytes = std::strtoull(header.c_str() + middle + 1, nullptr, 10);
        reportBytes = std::strtoull(header.c_str() + last + 1, nullptr, 10);
        if (!readExactly(pathBytes, path) || !readExactly(reportBytes, report)) break;

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
            document->getText()->setString(ustr(wallcalc::toParagraphText(wallcalc::standardSymbols(report))));
            step = "保存计算书";
            OUString url;
            osl::FileBase::getFileURLFromSystemPath(ustr(path), url);
            css::uno::Sequence<css::beans::PropertyValue> store(2);
            store.getArray()[0].Name = "FilterName";
            store.getArray()[0].Value <<= ustr(filterName);
            store.getArray()[1].Name = "Overwrite";
            store.getArray()[1].Value <<= true;
            Reference<css::frame::XStorable>(document, UNO_QUERY_THROW)->storeToURL(url, store);
            step = "关闭文档";
            Reference<css::util::XCloseable> closeable(document, UNO_QUERY);
            if (closeable.is())
                closeable->close(true);
            else
                component->dispose();
            say("done");
        } catch (const css::lang::DisposedException&) {
            stopHeadlessOffice(own, {});
            fail(kAutomation, std::string("文字处理软件在") + step + "时退出或断开了连接");
        } catch (const css::uno::Exception& e) {
            std::string what = std::string("文字处理软件拒绝了") + step + "：" + utf8(e.Message);
            for (char& c : what)
                if (c == '\n' || c == '\r') c = ' ';
            say("fault " + std::to_string(kAutomation) + " " + what);
        }
    }
    stopHeadlessOffice(own, desktop);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace wallcalc::export_fault;
    const auto started = Clock::now();
    std::chrono::milliseconds deadline{60000};
    bool serving = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--serve") == 0) serving = true;
        if (std::strcmp(argv[i], "--deadline-ms") == 0 && i + 1 < argc)
            deadline = std::chrono::milliseconds(std::atoll(argv[++i]));
    }
    // Whatever descriptors the caller let through stay out of the office started from here.
    ::syscall(SYS_close_range, 3U, ~0U, 0U);

    const std::string report = serving ? std::string() : readAll(0);
    const char* office = std::getenv("WALLCALC_OFFICE");
    const bool start = !(office && *office);
    const std::string connection = start ? kOwnPipe : office;
    // Connecting may take most of the time; the document calls need the rest.
    const auto reserve = std::min<std::chrono::milliseconds>(deadline / 4, std::chrono::milliseconds(5000));

    // Without the bootstrap file the local UNO context has no type information for remote
    // errors, and the first remote call crashes.
    ::setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" WALLCALC_OFFICE_PROGRAM_DIR "/fundamentalrc", 0);
    Reference<css::uno::XComponentContext> local;
    try {
        local = cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception& e) {
        fail(kCannotCreate, "无法初始化文字处理软件的接口：" + utf8(e.Message));
    }
    if (serving) return serve(local, deadline);

    Reference<css::uno::XComponentContext> remote;
    try {
        remote = connect(local, connection, start, started + deadline - reserve, secondsText(deadline - reserve));
    } catch (const css::uno::Exception& e) {
        fail(kCannotCreate, "无法连接文字处理软件：" + utf8(e.Message));
    }
    say("connected");

    const char* step = "新建文档";
    try {
        Reference<css::frame::XDesktop2> desktop = css::frame::Desktop::create(remote);
        Reference<css::lang::XComponent> component = desktop->loadComponentFromURL(
            "private:factory/swriter", "_blank", 0, css::uno::Sequence<css::beans::PropertyValue>());
        Reference<css::text::XTextDocument> document(component, UNO_QUERY);
        if (!document.is()) fail(kAutomation, "文字处理软件没有新建文档：LibreOffice 中没有安装 Writer");

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
        document->getText()->setString(ustr(wallcalc::toParagraphText(wallcalc::standardSymbols(report))));

        try {
            setSymbolFont(document);
        } catch (const css::lang::DisposedException&) {
            throw;
        } catch (const css::uno::Exception&) {
        }
    } catch (const css::lang::DisposedException&) {
        fail(kAutomation, std::string("文字处理软件在") + step + "时退出或断开了连接");
    } catch (const css::uno::RuntimeException& e) {
        fail(kAutomation, std::string("文字处理软件拒绝了") + step + "：" + utf8(e.Message));
    } catch (const css::uno::Exception& e) {
        fail(kAutomation, std::string("文字处理软件拒绝了") + step + "：" + utf8(e.Message));
    }
    // Every reference to the office's objects is gone with the scope above; the office keeps
    // the new document, unsaved.
    say("done");
    return 0;
}
