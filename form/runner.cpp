#include "form/runner.h"

#include <system_error>

#include "core/guard.h"
#include "form/layout.h"
#include "form/texts.h"

namespace wallcalc::form {

std::optional<Fault> runGuarded(FieldSet& fields, const Action& action) {
    std::optional<Fault> fault;
    if (std::optional<std::string> failure = unexpectedFailure([&] { fault = runAtomically(fields, action); }))
        return FaultError(fault_number::kInternalError, *failure).fault();
    return fault;
}

FaultNotice faultNotice(const Fault& fault) {
    std::string headline = kFaultHeadline;
    headline.replace(headline.find("%1"), 2, std::to_string(fault.number));
    headline.replace(headline.find("%2"), 2, fault.description);
    if (!fault.what.empty()) headline += "\n" + fault.what;
    std::optional<Field> focus;
    if (fault.field && isShown(*fault.field)) focus = fault.field;
    return {headline, focus};
}

Worker::Worker(std::function<void()> work, std::function<void()> cancel)
    : work_(std::move(work)), cancel_(std::move(cancel)) {}

Worker::~Worker() { wait(); }

bool Worker::start(std::function<void()> finished) {
    if (started_) return true;
    started_ = true;
    try {
        thread_ = std::thread([this, finished] {
            work_();
            finished();
        });
        return true;
    } catch (const std::system_error&) {
        work_();
        finished();
        return false;
    }
}

void Worker::cancel() {
    if (cancelled_.exchange(true)) return;
    if (cancel_) cancel_();
}

void Worker::wait() {
    if (!started_) {
        started_ = true;
        work_();
    }
    if (thread_.joinable()) thread_.join();
}

Runner::Outcome Runner::finish(const FieldSet& after, const std::optional<Fault>& fault, bool cancelled) {
    running_ = false;
    if (!fault) {
        document_.setFields(after);
        return {Ending::Completed, std::nullopt};
    }
    return {cancelled ? Ending::Cancelled : Ending::Faulted, fault};
}

Runner::Outcome Runner::run(const Action& action) {
    if (running_) return {};
    running_ = true;
    FieldSet after = document_.fields();
    const std::optional<Fault> fault = runGuarded(after, action);
    return finish(after, fault, false);
}

Runner::Outcome Runner::runOnWorker(const Action& action, const std::function<void()>& cancel, const Wait& wait) {
    if (running_) return {};
    running_ = true;
    FieldSet after = document_.fields();
    std::optional<Fault> fault;
    Worker worker([&] { fault = runGuarded(after, action); }, cancel);
    wait(worker);
    worker.wait();
    return finish(after, fault, worker.wasCancelled());
}

}  // namespace wallcalc::form
