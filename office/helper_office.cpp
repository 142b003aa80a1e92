#include "office/helper_office.h"

#include <signal.h>
#include <sys/socket.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "office/export_fault.h"
#include "office/office_settings.h"

namespace wallcalc {
namespace {

using Clock = std::chrono::steady_clock;
using helper_protocol::Answer;

// What the helper wrote of its own to the error stream, unless it names a file of this machine
// or of the program's sources.
std::string plainDetail(const std::string& err) {
    const std::string detail = lastLine(err);
    return detail.find('/') == std::string::npos ? detail : std::string();
}

}  // namespace

HelperSession::HelperSession(Options options) : options_(std::move(options)) {
    SpawnedProcess spawned;
    try {
        spawned = spawnWithStreams({options_.helperPath, "--deadline-ms", std::to_string(options_.deadline.count())});
    } catch (const std::system_error& error) {
        const int code = error.code().value();
        const char* why = code == ENOENT ? "找不到该程序" : code == EACCES ? "没有运行它的权限" : "系统拒绝运行它";
        throw export_fault::cannotCreate(std::string("无法启动文字处理软件的助手程序 wallcalc-office：") + why +
                                         "，请重新安装本程序");
    }
    helper_ = std::move(spawned.process);
    in_ = std::move(spawned.in);
    out_ = std::move(spawned.out);
    err_ = std::move(spawned.err);
    setNonBlocking(in_);
    setNonBlocking(out_);
    setNonBlocking(err_);
}

HelperSession::~HelperSession() { end(); }

void HelperSession::end() {
    // The end of its input tells the helper to close down, and an office of its own with it.
    in_.reset();
    if (helper_.running() && !helper_.waitFor(std::chrono::seconds(20))) {
        helper_.kill();
        if (started_ > 1 && options_.officeEndsWithHelper) ::kill(-started_, SIGKILL);
    }
    out_.reset();
    err_.reset();
}

void HelperSession::request(const helper_protocol::Request& request, bool last) {
    if (!alive())
        throw(connected_ ? export_fault::automation("与文字处理软件的连接已经中断")
                         : export_fault::cannotCreate("无法连接文字处理软件：助手程序已经结束"));
    const Answer answer = awaitAnswer(helper_protocol::encode(request), last);
    if (answer.kind == Answer::Kind::Done) return;
    if (answer.number == export_fault::kCannotCreate) {
        // Nothing was reached: the next request starts afresh.
        end();
        throw export_fault::cannotCreate(answer.what);
    }
    throw export_fault::automation(answer.what);
}

bool HelperSession::takeLine(Answer& answer) {
    for (std::size_t newline; (newline = pending_.find('\n')) != std::string::npos;) {
        answer = helper_protocol::parseAnswer(std::string_view(pending_).substr(0, newline));
        pending_.erase(0, newline + 1);
        if (answer.kind == Answer::Kind::Connected) connected_ = true;
        if (answer.kind == Answer::Kind::Started) started_ = answer.started;
        if (answer.kind == Answer::Kind::Done || answer.kind == Answer::Kind::Fault) return true;
    }
    return false;
}

void HelperSession::killAndThrow(bool cancelled) {
    helper_.kill();
    // The office the helper started heads a process group of its own.
    if (started_ > 1 && (cancelled || options_.officeEndsWithHelper)) ::kill(-started_, SIGKILL);
    end();
    if (cancelled) throw export_fault::cancelled();
    const std::string late = "文字处理软件在" + deadlineText(options_.deadline) + "内没有响应";
    throw connected_ ? export_fault::automation(late) : export_fault::cannotCreate("无法连接文字处理软件：" + late);
}

Answer HelperSession::awaitAnswer(const std::string& bytes, bool last) {
    const auto until = Clock::now() + options_.deadline;
    std::size_t sent = 0;
    Answer answer;
    for (;;) {
        if (takeLine(answer)) return answer;
        if (options_.cancel && options_.cancel->load()) killAndThrow(true);
        if (helper_.poll()) {
            drain(out_, pending_);
            drain(err_, errText_);
            if (takeLine(answer)) return answer;
            // The helper ended without saying why: whether the word processor had been reached
            // decides which fault it is.
            std::string what = "与文字处理软件的连接意外中断：助手程序" + endInWords(helper_.status());
            const std::string detail = plainDetail(errText_);
            if (!detail.empty()) what += "（" + detail + "）";
            what += "，请再保存一次";
            end();
            throw connected_ ? export_fault::automation(what) : export_fault::cannotCreate(what);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0) killAndThrow(false);

        awaitStreams(in_, sent < bytes.size(), out_, err_, helper_, left, options_.cancel != nullptr);
        sendSome(in_, bytes, sent);
        // The end of the input, without closing it: the helper takes a closed connection for
        // a caller that has gone.
        if (in_ && last && sent == bytes.size()) {
            ::shutdown(in_.get(), SHUT_WR);
            last = false;
        }
        drain(out_, pending_);
        drain(err_, errText_);
        if (errText_.size() > 65536) errText_.erase(0, errText_.size() - 4096);
    }
}

HelperSession::Options HelperOffice::options(bool forSaves) {
    HelperSession::Options options;
#ifdef WALLCALC_OFFICE_HELPER_NAME
    options.helperPath = helperPath_.empty() ? findOfficeHelper() : helperPath_;
#else
    options.helperPath = helperPath_;
#endif
    options.deadline = deadline_.value_or(officeDeadline());
    options.cancel = forSaves ? nullptr : &cancelled_;
    options.officeEndsWithHelper = forSaves;
    return options;
}

void HelperOffice::exportReport(const std::string& reportUtf8) {
    cancelled_ = false;
    HelperSession(options(false)).request({helper_protocol::Request::Kind::Show, {}, {}, reportUtf8}, true);
}

namespace {

// The export filters of LibreOffice Writer.
const char* filterOf(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::Pdf: return "writer_pdf_Export";
        case DocumentFormat::Docx: return "MS Word 2007 XML";
        case DocumentFormat::Odt: return "writer8";
    }
    return "";
}

}  // namespace

void HelperOffice::saveReport(const std::string& reportUtf8, const std::filesystem::path& path, DocumentFormat format) {
    const SaveTarget save = saveTargetOf(path);
    if (!saves_) saves_ = std::make_unique<HelperSession>(options(true));
    try {
        saves_->request({helper_protocol::Request::Kind::Save, filterOf(format), save.temporary.string(), reportUtf8});
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(save.temporary, ignored);
        // A helper that has ended is started afresh for the next save.
        if (!saves_->alive()) saves_.reset();
        throw;
    }
    moveIntoPlace(save);
}

}  // namespace wallcalc
