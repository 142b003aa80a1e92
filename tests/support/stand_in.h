#pragma once
// A stand-in for the word processor, for tests: records the calls the export would make, keeps
// the documents it "creates", and can be told to fail at one of the calls.

#include <optional>
#include <string>
#include <vector>

#include "core/fault.h"
#include "office/office.h"

namespace wallcalc {

class StandInExporter final : public ReportExporter {
public:
    // The calls of one export, in order, as the automation sequence names them.
    enum class Call { Create, Visible, Documents, Add, Paragraphs, Range, Text, Release };

    // From the next export on, throw `fault` when call `at` is reached (any call but Release,
    // which is always made); the calls before it stay recorded, a document added before it
    // stays, empty.
    void failAt(Call at, Fault fault) { failure_ = Failure{at, std::move(fault)}; }
    void succeed() { failure_.reset(); }

    void exportReport(const std::string& reportUtf8) override;

    const std::vector<Call>& calls() const { return calls_; }
    // The texts of the documents added so far, one per document, as they were handed over.
    const std::vector<std::string>& documents() const { return documents_; }
    bool visible() const { return visible_; }

private:
    struct Failure {
        Call at;
        Fault fault;
    };
    void step(Call call);

    std::optional<Failure> failure_;
    std::vector<Call> calls_;
    std::vector<std::string> documents_;
    bool visible_ = false;
};

}  // namespace wallcalc
