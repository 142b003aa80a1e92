#pragma once
// The program's side of wallcalc-office (Linux): the helper drives the word processor in a
// process of its own, so that a word processor that hangs, or a crash in its automation bridge,
// costs the helper and never the caller. Each request waits for its answer up to a deadline;
// past it the helper is killed. See helper_protocol.h for what is said.

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <string>

#include <memory>
#include <optional>

#include "office/helper_protocol.h"
#include "office/office.h"
#include "office/process.h"

namespace wallcalc {

class HelperSession {
public:
    struct Options {
        std::string helperPath;
        std::chrono::milliseconds deadline{60000};
        // Set from another thread: the request ends at once with fault 18, the helper killed
        // and the office it started with it; an office that was running before is left alone.
        const std::atomic<bool>* cancel = nullptr;
        // The office the helper starts is its own (hidden, a throw-away profile): killed with the
        // helper at a deadline too. Otherwise it is the engineer's and stays.
        bool officeEndsWithHelper = false;
    };

    // Starts `helperPath --deadline-ms <deadline>`. Throws FaultError (429).
    explicit HelperSession(Options options);
    // Ends the helper: its input closes, which ends it (and an office of its own).
    ~HelperSession();
    HelperSession(const HelperSession&) = delete;
    HelperSession& operator=(const HelperSession&) = delete;

    // Sends one request and waits for its answer; with `last` the helper's input ends after it.
    // Throws FaultError: 429 before the word processor was reached, 440 after, 18 when
    // cancelled. After a fault that ended the helper the session is dead, and every further
    // request says so.
    void request(const helper_protocol::Request& request, bool last = false);
    bool alive() const { return helper_.running(); }

private:
    // Reads until one of "done" or "fault ..."; kills the helper at the deadline or a cancel.
    helper_protocol::Answer awaitAnswer(const std::string& bytes, bool last);
    bool takeLine(helper_protocol::Answer& answer);
    [[noreturn]] void killAndThrow(bool cancelled);
    void end();

    Options options_;
    ChildProcess helper_;
    Fd in_, out_, err_;
    std::string pending_, errText_;
    bool connected_ = false;
    pid_t started_ = 0;
};

// LibreOffice through the helper: each export runs a helper of its own, which reaches the
// engineer's office (starting it where it is not running) and ends once the document is there;
// the saves share one helper for the saver's life, which reaches an office without showing it.
class HelperOffice final : public Office {
public:
    // `helperPath` empty: looked for at each use (findOfficeHelper), so that a missing helper
    // is a fault of the press; `deadline` none: WALLCALC_OFFICE_DEADLINE_MS at each use.
    explicit HelperOffice(std::string helperPath = {}, std::optional<std::chrono::milliseconds> deadline = {})
        : helperPath_(std::move(helperPath)), deadline_(deadline) {}

    void exportReport(const std::string& reportUtf8) override;
    void cancel() override { cancelled_ = true; }
    void saveReport(const std::string& reportUtf8, const std::filesystem::path& path, DocumentFormat format) override;

private:
    HelperSession::Options options(bool forSaves);

    std::string helperPath_;
    std::optional<std::chrono::milliseconds> deadline_;
    std::atomic<bool> cancelled_{false};
    std::unique_ptr<HelperSession> saves_;
};

}  // namespace wallcalc
