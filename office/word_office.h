#pragma once
// Word through COM automation with late binding (Windows only): every member is called by name
// through IDispatch, without a type library. Both jobs give Word the report's private-use
// symbols in their standard forms.

#include <chrono>
#include <memory>

#include "office/office.h"
#include "office/office_settings.h"

namespace wallcalc {

class WordOffice final : public Office {
public:
    // The calls are made on threads of their own; past `deadline` an export or a save gives up
    // on a Word that does not answer and ends with a fault (the next save then starts a Word of
    // its own).
    explicit WordOffice(std::chrono::milliseconds deadline = kOfficeDeadline) : deadline_(deadline) {}
    // Quits the Word the saves started.
    ~WordOffice() override;

    // A visible Word, left running with the new, unsaved document.
    void exportReport(const std::string& reportUtf8) override;
    // A hidden Word, started at the first save and kept for the next ones.
    void saveReport(const std::string& reportUtf8, const std::filesystem::path& path, DocumentFormat format) override;
    // The same with the book built in Word: headings, tables, figures, page header and footer.
    // A book without its JSON form goes as its flat text; one whose JSON cannot be read is fault
    // 440 before Word is asked anything.
    void exportBook(const Book& book) override;
    void saveBook(const Book& book, const std::filesystem::path& path, DocumentFormat format) override;

    // What the saves and the thread that drives their Word share (word_office.cpp).
    struct Worker;

    // What goes into the new document: the report's text, or a book.
    struct Content;

private:
    void show(std::shared_ptr<const Content> content);
    void save(std::shared_ptr<const Content> content, const std::filesystem::path& path, DocumentFormat format);

    std::chrono::milliseconds deadline_;
    std::shared_ptr<Worker> worker_;
};

}  // namespace wallcalc
