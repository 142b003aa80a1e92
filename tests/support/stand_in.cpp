#include "tests/support/stand_in.h"

namespace wallcalc {

void StandInExporter::step(Call call) {
    if (failure_ && failure_->at == call) throw FaultError(failure_->fault);
    calls_.push_back(call);
}

void StandInExporter::exportReport(const std::string& reportUtf8) {
    try {
        step(Call::Create);
        step(Call::Visible);
        visible_ = true;
        step(Call::Documents);
        step(Call::Add);
        documents_.emplace_back();
        step(Call::Paragraphs);
        step(Call::Range);
        step(Call::Text);
        documents_.back() = reportUtf8;
    } catch (...) {
        // The references obtained so far are released on a fault too.
        calls_.push_back(Call::Release);
        throw;
    }
    calls_.push_back(Call::Release);
}

}  // namespace wallcalc
