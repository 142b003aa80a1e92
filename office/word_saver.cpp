// Saving through a hidden Word. One worker thread per saver owns Word for all its saves: it
// starts Word at the first save (Visible = False, DisplayAlerts = wdAlertsNone), and for each save
// adds a document, puts the report in as the export does, saves it with SaveAs2 under a temporary
// name beside the target and closes it unsaved; the caller then renames the temporary file onto
// the target. The saver's end makes the worker quit Word.
//
// A save that fails leaves Word to the next save if Word can still close the document; otherwise
// the worker quits Word, and the next save starts another. A save past the deadline abandons its
// worker: once the call it hangs in returns, that worker removes the temporary file and quits its
// Word, and the next save gets a new worker.

#ifdef _WIN32

#include "office/word_saver.h"

#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "office/export_fault.h"
#include "office/plain_symbols.h"
#include "office/word_automation.h"

namespace wallcalc {

struct WordSaver::Worker : word::Outcome {
    struct Job {
        std::string text;
        std::wstring file;
        long format;
    };
    std::condition_variable posted;
    std::optional<Job> job;
    bool quit = false;   // the saver is going
    bool ended = false;  // the worker has let go of Word
};

namespace {

// WdSaveFormat.
long wordFormatOf(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::Pdf: return 17;   // wdFormatPDF
        case DocumentFormat::Docx: return 12;  // wdFormatXMLDocument
        case DocumentFormat::Odt: return 23;   // wdFormatOpenDocumentText
    }
    return 0;
}

constexpr long kDoNotSaveChanges = 0;  // wdDoNotSaveChanges
constexpr long kAlertsNone = 0;        // wdAlertsNone

// Document.Close(SaveChanges := wdDoNotSaveChanges) or Application.Quit(the same).
void endUnsaved(word::Session& session, IDispatch* object, const wchar_t* name) {
    word::Variant noSave;
    noSave.v.vt = VT_I4;
    noSave.v.lVal = kDoNotSaveChanges;
    session.invoke(object, name, DISPATCH_METHOD, &noSave.v, 1, nullptr);
}

// One save on Word that is running; throws its fault. `fit` tells afterwards whether Word can
// take the next save.
void saveOne(word::Session& session, IDispatch* application, const WordSaver::Worker::Job& job, bool& fit) {
    word::Ref document;
    try {
        word::addReportDocument(session, application, job.text, document);
        word::Variant args[2];  // IDispatch's order: FileFormat, FileName
        args[0].v.vt = VT_I4;
        args[0].v.lVal = job.format;
        args[1].v.vt = VT_BSTR;
        args[1].v.bstrVal = SysAllocStringLen(job.file.data(), static_cast<UINT>(job.file.size()));
        if (!args[1].v.bstrVal) throw export_fault::automation("内存不足，无法把文件名交给文字处理软件");
        session.invoke(document.get(), L"SaveAs2", DISPATCH_METHOD, &args[0].v, 2, nullptr);
    } catch (...) {
        // The document goes unsaved; a Word that can no longer close it is not used again.
        if (document.get()) {
            try {
                endUnsaved(session, document.get(), L"Close");
                fit = true;
            } catch (...) {
            }
        }
        throw;
    }
    endUnsaved(session, document.get(), L"Close");
    fit = true;
}

void serve(const std::shared_ptr<WordSaver::Worker>& worker) {
    word::ComScope com;
    word::Session session(*worker);
    word::Ref application;
    auto quitWord = [&] {
        if (application.get()) {
            // Quit is the one call made after the caller gave up: a hidden Word left running
            // would hold memory and files with nobody to end it.
            word::Variant noSave;
            noSave.v.vt = VT_I4;
            noSave.v.lVal = kDoNotSaveChanges;
            try {
                word::invokeMember(application.get(), L"Quit", DISPATCH_METHOD, &noSave.v, 1, nullptr);
            } catch (const FaultError&) {
            }
            application.reset();
        }
        std::lock_guard lock(worker->mutex);
        worker->connected = false;
    };

    for (;;) {
        WordSaver::Worker::Job job;
        {
            std::unique_lock lock(worker->mutex);
            worker->posted.wait(lock, [&] { return worker->job || worker->quit; });
            if (!worker->job) break;
            job = std::move(*worker->job);
            worker->job.reset();
        }
        bool fit = false;
        std::optional<Fault> fault = word::faultOf([&] {
            if (!application.get()) {
                application = word::startWord(com, session);
                session.putBool(application.get(), L"Visible", false);
                session.putLong(application.get(), L"DisplayAlerts", kAlertsNone);
            }
            saveOne(session, application.get(), job, fit);
        });
        if (!fit) quitWord();

        std::lock_guard lock(worker->mutex);
        if (worker->abandoned) {
            DeleteFileW(job.file.c_str());
            break;
        }
        worker->fault = std::move(fault);
        worker->done = true;
        worker->finished.notify_all();
    }
    quitWord();
    std::lock_guard lock(worker->mutex);
    worker->ended = true;
    worker->finished.notify_all();
}

}  // namespace

WordSaver::~WordSaver() {
    if (!worker_) return;
    std::unique_lock lock(worker_->mutex);
    worker_->quit = true;
    worker_->posted.notify_all();
    worker_->finished.wait_for(lock, deadline_, [&] { return worker_->ended; });
}

void WordSaver::saveReport(const std::string& reportUtf8, const std::filesystem::path& path, DocumentFormat format) {
    namespace fs = std::filesystem;
    std::error_code error;
    // Word resolves a relative name against its own folder, not ours.
    const fs::path target = fs::absolute(path, error).lexically_normal();
    if (error) throw export_fault::automation("无法保存计算书：" + word::narrow(path.c_str()) + "：" + error.message());
    // Word writes a file of its own name beside the target, renamed once complete and closed.
    std::random_device entropy;
    const fs::path temporary =
        target.parent_path() / (L"." + target.stem().wstring() + L".tmp" + std::to_wstring(entropy() % 1000000) +
                                target.extension().wstring());

    if (!worker_) {
        auto worker = std::make_shared<Worker>();
        try {
            std::thread(serve, worker).detach();
        } catch (const std::system_error& e) {
            throw export_fault::cannotCreate(std::string("无法启动文字处理软件：") + e.what());
        }
        worker_ = std::move(worker);
    }
    const std::shared_ptr<Worker> worker = worker_;
    std::optional<Fault> fault;
    {
        std::unique_lock lock(worker->mutex);
        worker->job = Worker::Job{standardSymbols(reportUtf8), temporary.wstring(), wordFormatOf(format)};
        worker->done = false;
        worker->fault.reset();
        worker->posted.notify_all();
        try {
            fault = word::awaitOutcome(*worker, lock, deadline_);
        } catch (const FaultError&) {
            // The worker removes the temporary file and quits its Word when it gets free.
            worker_.reset();
            throw;
        }
    }
    if (fault) {
        DeleteFileW(temporary.c_str());
        throw FaultError(*fault);
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
        DeleteFileW(temporary.c_str());
        throw export_fault::automation("无法保存计算书 " + word::narrow(target.c_str()) + "：" + word::systemText(hr));
    }
}

}  // namespace wallcalc

#endif  // _WIN32
