#pragma once
// A long-running wallcalc-office that saves documents on request, so that a batch reaches (or
// starts) the word processor once. Requests go to its standard input, one after the other:
//
//   save <filter> <path bytes> <report bytes>\n<path><report>
//
// and it answers "connected" once the word processor is reached, then for each request "done"
// or "fault <number> <what>". Closing its input ends it; it ends a word processor it started.

#include <sys/types.h>

#include <chrono>
#include <string>

namespace wallcalc {

class HelperSession {
public:
    // Starts `helperPath --serve --deadline-ms <deadline>`; each request, the first one's
    // connection included, must be answered within `deadline`. Throws FaultError (429).
    HelperSession(const std::string& helperPath, std::chrono::milliseconds deadline);
    ~HelperSession();
    HelperSession(const HelperSession&) = delete;
    HelperSession& operator=(const HelperSession&) = delete;

    // One save; throws FaultError (429 before the word processor was reached, 440 after). After a
    // fault that ended the helper, the session is dead and every further request says so.
    void save(const std::string& filter, const std::string& absolutePath, const std::string& reportUtf8);
    bool alive() const { return pid_ > 0; }

private:
    void end();
    // Reads lines up to one of "done" or "fault ..."; false when the helper ended first.
    bool answer(std::string& line, std::chrono::steady_clock::time_point until, bool& timedOut);

    std::string helperPath_;
    std::chrono::milliseconds deadline_;
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    std::string pending_, errText_;
    bool connected_ = false;
};

}  // namespace wallcalc
