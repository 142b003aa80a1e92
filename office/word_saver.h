#pragma once
// The document saver on Windows: Word through COM late binding, kept hidden (Windows only).

#include <chrono>
#include <memory>

#include "office/document_saver.h"
#include "office/office_settings.h"

namespace wallcalc {

class WordSaver final : public DocumentSaver {
public:
    // Each save waits for Word up to `deadline`; past it the save ends with a fault and the next
    // one starts a Word of its own.
    explicit WordSaver(std::chrono::milliseconds deadline = kOfficeDeadline) : deadline_(deadline) {}
    // Quits the Word this saver started.
    ~WordSaver() override;

    void saveReport(const std::string& reportUtf8, const std::filesystem::path& path, DocumentFormat format) override;

    // What the saver and the thread that drives Word share (word_saver.cpp).
    struct Worker;

private:
    std::chrono::milliseconds deadline_;
    std::shared_ptr<Worker> worker_;
};

}  // namespace wallcalc
