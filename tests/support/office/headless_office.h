#pragma once
// A headless LibreOffice of the tests' own: listening on a private pipe, with a throw-away
// profile under a temporary directory. The destructor terminates it and reaps it by its
// process id, whatever happened, and removes the directory.

#include <sys/types.h>

#include <string>
#include <vector>

namespace wallcalc::testing {

class HeadlessOffice {
public:
    struct Document {
        bool hasLocation = false;
        bool modified = false;
        int symbolRuns = 0;        // runs of private-use characters
        int symbolRunsInFont = 0;  // of those, set in the program's symbol font
        std::vector<std::string> paragraphs;
    };

    // Starts the office; with `waitUntilReady` returns once it answers. `profileDir` names a
    // profile to reuse (kept afterwards); empty for a fresh one, removed afterwards.
    // Throws std::runtime_error when it cannot be started.
    explicit HeadlessOffice(bool waitUntilReady = true, std::string profileDir = {});
    ~HeadlessOffice();
    HeadlessOffice(const HeadlessOffice&) = delete;
    HeadlessOffice& operator=(const HeadlessOffice&) = delete;

    // "pipe,name=...", what WALLCALC_OFFICE takes.
    const std::string& connection() const { return connection_; }

    // The text documents open in the office, read back through UNO.
    std::vector<Document> documents() const;
    // Closes them, unsaved: each export leaves one, and the office grows with them.
    void closeDocuments() const;

    // How the document saved at `path` is built, as the office reads it back: one line each
    // "style <paragraph style>", "table <rows> <columns> <A1>", "graphic <MIME> <w> <h>",
    // "header <text>", "footer <text>", "field <PageNumber|PageCount>".
    std::vector<std::string> readBack(const std::string& path) const;

private:
    void stop();

    std::string tempDir_;
    std::string connection_;
    pid_t launcher_ = -1;
};

// True where the office and the probe were built.
bool officeAvailable();

}  // namespace wallcalc::testing
