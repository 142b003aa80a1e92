#pragma once
// Word through COM automation with late binding (Windows only): every member is called by
// name through IDispatch, without a type library.

#include <chrono>

#include "office/office.h"
#include "office/office_settings.h"

namespace wallcalc {

class WordExporter final : public ReportExporter {
public:
    // The calls are made on a thread of their own; past `deadline` the export gives up on a
    // word processor that does not answer and ends with a fault.
    explicit WordExporter(std::chrono::milliseconds deadline = kOfficeDeadline) : deadline_(deadline) {}

    void exportReport(const std::string& reportUtf8) override;

private:
    std::chrono::milliseconds deadline_;
};

}  // namespace wallcalc
