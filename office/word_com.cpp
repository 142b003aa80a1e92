// The automation sequence on "word.application": create it on the local machine, make it
// visible, add a document, and put the report into the range of the document's first
// paragraph, each line of the report one paragraph. Every reference is released at the end, by
// a fault too; Word stays open with the new, unsaved document.
//
// The calls run on a worker thread of their own (word_automation.h), which the caller waits for
// up to the deadline.

#ifdef _WIN32

#include "office/word_com.h"

#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "office/export_fault.h"
#include "office/word_automation.h"

namespace wallcalc {
namespace {

void runSequence(const std::string& reportUtf8, word::Session& session) {
    word::ComScope com;
    word::Ref application = word::startWord(com, session);
    session.putBool(application.get(), L"Visible", true);
    word::Ref document;
    word::addReportDocument(session, application.get(), reportUtf8, document);
    // The document and the application go with their owners; Word keeps the document.
}

}  // namespace

void WordExporter::exportReport(const std::string& reportUtf8) {
    auto outcome = std::make_shared<word::Outcome>();
    try {
        std::thread([outcome, reportUtf8] {
            word::Session session(*outcome);
            std::optional<Fault> fault = word::faultOf([&] { runSequence(reportUtf8, session); });
            std::lock_guard lock(outcome->mutex);
            outcome->fault = std::move(fault);
            outcome->done = true;
            outcome->finished.notify_all();
        }).detach();
    } catch (const std::system_error& error) {
        throw export_fault::cannotCreate(std::string("无法启动文字处理软件：") + error.what());
    }

    std::unique_lock lock(outcome->mutex);
    if (std::optional<Fault> fault = word::awaitOutcome(*outcome, lock, deadline_)) throw FaultError(*fault);
}

}  // namespace wallcalc

#endif  // _WIN32
