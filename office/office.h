#pragma once
// 计算书保存: hands the report text to a word processor as a new, unsaved document.
// The word processor lies outside the program; a backend drives it, and a stand-in takes its
// place in tests.

#include <memory>
#include <string>

namespace wallcalc {

class ReportExporter {
public:
    virtual ~ReportExporter() = default;

    // Starts or attaches to the word processor, makes it visible, adds a new document and puts
    // `reportUtf8` (the text of Text29, CR LF line ends) into it, then releases everything,
    // leaving the word processor running with the new, unsaved document. Blocks until done.
    // Throws FaultError, saying in the engineer's terms what went wrong; whatever the word
    // processor already did stays done.
    virtual void exportReport(const std::string& reportUtf8) = 0;

    // Called from another thread while exportReport waits: ends the wait as soon as it can,
    // exportReport then throwing fault 18 (出现用户中断). A word processor that the export
    // started itself is ended with it; one that was already running is left alone. A backend
    // that cannot stop its call does nothing here.
    virtual void cancel() {}
};

// The backend of this platform: LibreOffice through a helper process on Linux, Word through
// COM automation on Windows; where none was built, one that says so when used.
std::unique_ptr<ReportExporter> makePlatformExporter();

}  // namespace wallcalc
