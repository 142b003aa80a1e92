#pragma once
// The export through the helper program wallcalc-office, which drives the word processor in a
// process of its own: a word processor that hangs, or a crash in its automation bridge, then
// costs the helper and never the caller. The caller waits for the helper with a deadline and
// kills it past the deadline.
//
// The helper reads the report (UTF-8) on its standard input and answers on its standard output
// with lines: "connected" once the word processor is reached, then either "done" or
// "fault <number> <what>". It is given the deadline as "--deadline-ms <n>" so that it can give
// up on connecting in time to say so itself. When it starts the word processor itself it says
// "started <pid>" first: a cancelled export then ends that process group, and only that one.

#include <atomic>
#include <chrono>
#include <string>

#include "office/office.h"
#include "office/office_settings.h"

namespace wallcalc {

class HelperExporter final : public ReportExporter {
public:
    struct Options {
        std::string helperPath;
        std::chrono::milliseconds deadline = kOfficeDeadline;
        // A flag of the caller's that cancels the export; nullptr: this exporter's own.
        const std::atomic<bool>* cancel = nullptr;
    };

    explicit HelperExporter(Options options) : options_(std::move(options)) {}

    void exportReport(const std::string& reportUtf8) override;
    void cancel() override { cancelled_ = true; }

private:
    Options options_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace wallcalc
