#pragma once
// The one runner of a press, for every window: the action works on a copy of the document's
// field texts; when it completes, the copy is written back (the views follow the document);
// on a fault nothing changes and the window shows the fault's message and puts the cursor into
// the field to mend.
//
// A press that may take long (the word processor) runs on a worker thread while the window
// shows its busy note and keeps painting. The contract between the runner and the window:
//   - the window's wait function gets the Worker before it starts; it shows its note, starts the
//     worker with a function the worker thread calls when the work ends (the window posts that
//     to its own thread and closes the note), and once the note is closed waits for the worker
//     (Worker::wait) before the note goes, so that nothing is posted to a note that is gone;
//   - 取消 on the note calls Worker::cancel, which tells the work to stop (the exporter kills its
//     helper, and the office where the export started it) and closes the note at once; the
//     window then waits for the thread, which ends within moments;
//   - a deadline is the work's own: an exporter that gets no answer in time ends with its fault;
//   - a cancelled press ends quietly, whatever its work said on the way out.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "core/action.h"
#include "core/fault.h"
#include "form/wall_document.h"

namespace wallcalc::form {

// The action on `fields` through the atomic runner; anything else thrown (a defect, memory) is
// fault 51 and changes nothing either.
std::optional<Fault> runGuarded(FieldSet& fields, const Action& action);

// What a window shows for a fault: the text of its box, and the field to put the cursor into
// (with its text selected, so that typing replaces it), when the fault names a shown one.
struct FaultNotice {
    std::string text;  // "运行时错误 N：DESCRIPTION", then the line of what failed
    std::optional<Field> focus;
};
FaultNotice faultNotice(const Fault& fault);

// Work on a thread of its own.
class Worker {
public:
    // `work` runs on the worker thread; `cancel` (may be empty) is called on the window's thread
    // when the engineer cancels.
    Worker(std::function<void()> work, std::function<void()> cancel);
    ~Worker();  // waits for the thread
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts the thread; `finished` is called on it when the work has ended. Returns false when
    // no thread could be made: the work then ran here, and `finished` has been called.
    bool start(std::function<void()> finished);
    void cancel();
    bool wasCancelled() const { return cancelled_; }
    // Waits for the thread; work that was never started runs here, so that it always runs once.
    void wait();

private:
    std::function<void()> work_, cancel_;
    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    bool started_ = false;
};

class Runner {
public:
    explicit Runner(WallDocument& document) : document_(document) {}

    enum class Ending { Completed, Faulted, Cancelled, Ignored };
    struct Outcome {
        Ending ending = Ending::Ignored;
        std::optional<Fault> fault;  // for Faulted
        bool completed() const { return ending == Ending::Completed; }
    };

    // True while a press is being run; a press meanwhile is ignored.
    bool isRunning() const { return running_; }

    // On this thread.
    Outcome run(const Action& action);
    // On a worker thread, with the window's wait (see above); `cancel` tells the work to stop.
    using Wait = std::function<void(Worker& worker)>;
    Outcome runOnWorker(const Action& action, const std::function<void()>& cancel, const Wait& wait);

private:
    Outcome finish(const FieldSet& after, const std::optional<Fault>& fault, bool cancelled);

    WallDocument& document_;
    bool running_ = false;
};

}  // namespace wallcalc::form
