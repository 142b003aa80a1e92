// Word through COM (word_office.h). The export: create "word.application" on the local machine,
// make it visible, add a document, and put the report into the range of the document's first
// paragraph, each line of the report one paragraph. Every reference is released at the end, by a
// fault too; Word stays open with the new, unsaved document.
//
// The saves: one worker thread per office owns a hidden Word for all its saves: it starts Word at
// the first save (Visible = False, DisplayAlerts = wdAlertsNone), and for each save adds a
// document, puts the report or builds the book in as the export does, saves it with SaveAs2 under a temporary name
// beside the target and closes it unsaved; the caller then renames the temporary file onto the
// target. The office's end makes the worker quit Word.
//
// A save that fails leaves Word to the next save if Word can still close the document; otherwise
// the worker quits Word, and the next save starts another. A save past the deadline abandons its
// worker: once the call it hangs in returns, that worker removes the temporary file and quits its
// Word, and the next save gets a new worker.
//
// The calls run on worker threads (word_automation.h), which the caller waits for up to the
// deadline.

#ifdef _WIN32

#include "office/word_office.h"

#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "office/export_fault.h"
#include "office/plain_symbols.h"
#include "office/word_automation.h"

namespace wallcalc {

struct WordOffice::Content {
    std::string text;                // the report, in standard symbols; or
    std::optional<word::Book> book;  // the book

    // Documents.Add and the content put in.
    void addDocument(word::Session& session, IDispatch* application, word::Ref& document) const {
        if (book)
            word::addBookDocument(session, application, *book, document);
        else
            word::addReportDocument(session, application, text, document);
    }
};

struct WordOffice::Worker : word::Outcome {
    struct Job {
        std::shared_ptr<const Content> content;
        std::wstring file;
        long format;
    };
    std::condition_variable posted;
    std::optional<Job> job;
    bool quit = false;   // the saver is going
    bool ended = false;  // the worker has let go of Word
};

namespace {

// Starts `work` on a thread of its own, left to run; 429 where no thread is to be had.
template <class Work>
void startDetached(Work&& work) {
    try {
        std::thread(std::forward<Work>(work)).detach();
    } catch (const std::system_error& error) {
        throw export_fault::cannotCreate(std::string("无法启动文字处理软件：") + error.what());
    }
}

void showContent(const WordOffice::Content& content, word::Session& session) {
    word::ComScope com;
    word::Ref application = word::startWord(com, session);
    session.putBool(application.get(), L"Visible", true);
    word::Ref document;
    content.addDocument(session, application.get(), document);
    // The document and the application go with their owners; Word keeps the document.
}

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
    noSave.setLong(kDoNotSaveChanges);
    session.invoke(object, name, DISPATCH_METHOD, &noSave.v, 1, nullptr);
}

// One save on Word that is running; throws its fault. `fit` tells afterwards whether Word can
// take the next save.
void saveOne(word::Session& session, IDispatch* application, const WordOffice::Worker::Job& job, bool& fit) {
    word::Ref document;
    try {
        job.content->addDocument(session, application, document);
        word::Variant args[2];  // IDispatch's order: FileFormat, FileName
        args[0].setLong(job.format);
        args[1].setText(job.file, "文件名");
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

void serve(const std::shared_ptr<WordOffice::Worker>& worker) {
    word::ComScope com;
    word::Session session(*worker);
    word::Ref application;
    auto quitWord = [&] {
        if (application.get()) {
            // Quit is the one call made after the caller gave up: a hidden Word left running
            // would hold memory and files with nobody to end it.
            word::Variant noSave;
            noSave.setLong(kDoNotSaveChanges);
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
        WordOffice::Worker::Job job;
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

WordOffice::~WordOffice() {
    if (!worker_) return;
    std::unique_lock lock(worker_->mutex);
    worker_->quit = true;
    worker_->posted.notify_all();
    worker_->finished.wait_for(lock, deadline_, [&] { return worker_->ended; });
}

namespace {

std::shared_ptr<const WordOffice::Content> reportContent(const std::string& reportUtf8) {
    return std::make_shared<const WordOffice::Content>(WordOffice::Content{standardSymbols(reportUtf8), {}});
}

// The book's JSON read before Word is asked anything; without it, its flat text.
std::shared_ptr<const WordOffice::Content> bookContent(const Book& book) {
    if (book.json.empty()) return reportContent(book.plainText);
    return std::make_shared<const WordOffice::Content>(WordOffice::Content{{}, word::bookOf(book.json)});
}

}  // namespace

void WordOffice::exportReport(const std::string& reportUtf8) { show(reportContent(reportUtf8)); }

void WordOffice::exportBook(const Book& book) { show(bookContent(book)); }

void WordOffice::saveReport(const std::string& reportUtf8, const std::filesystem::path& path, DocumentFormat format) {
    save(reportContent(reportUtf8), path, format);
}

void WordOffice::saveBook(const Book& book, const std::filesystem::path& path, DocumentFormat format) {
    save(bookContent(book), path, format);
}

void WordOffice::show(std::shared_ptr<const Content> content) {
    auto outcome = std::make_shared<word::Outcome>();
    startDetached([outcome, content = std::move(content)] {
        word::Session session(*outcome);
        std::optional<Fault> fault = word::faultOf([&] { showContent(*content, session); });
        std::lock_guard lock(outcome->mutex);
        outcome->fault = std::move(fault);
        outcome->done = true;
        outcome->finished.notify_all();
    });

    std::unique_lock lock(outcome->mutex);
    if (std::optional<Fault> fault = word::awaitOutcome(*outcome, lock, deadline_)) throw FaultError(*fault);
}

void WordOffice::save(std::shared_ptr<const Content> content, const std::filesystem::path& path,
                      DocumentFormat format) {
    const SaveTarget target = saveTargetOf(path);
    if (!worker_) {
        auto worker = std::make_shared<Worker>();
        startDetached([worker] { serve(worker); });
        worker_ = std::move(worker);
    }
    const std::shared_ptr<Worker> worker = worker_;
    std::optional<Fault> fault;
    {
        std::unique_lock lock(worker->mutex);
        worker->job = Worker::Job{std::move(content), target.temporary.wstring(), wordFormatOf(format)};
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
        DeleteFileW(target.temporary.c_str());
        throw FaultError(*fault);
    }
    moveIntoPlace(target);
}

}  // namespace wallcalc

#endif  // _WIN32
