#pragma once
// What the program and its helper wallcalc-office say to each other (Linux). The program sends
// requests on the helper's standard input, one after the other, each a header line and its bytes:
//
//   show <report bytes>\n<report>                            the report as a new, unsaved document
//   save <filter> <path bytes> <report bytes>\n<path><report>    a finished document, office hidden
//
// The helper answers on its standard output with lines: "started <pid>" when it starts the
// office itself (that process heads a process group of its own), "connected" once the office is
// reached, then for each request "done" or "fault <number> <what>". The end of its input ends it.
// The first request decides which office it reaches: a visible one for show, a hidden one for
// save.

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace wallcalc::helper_protocol {

struct Request {
    enum class Kind { Show, Save };
    Kind kind = Kind::Show;
    std::string filter;  // save: LibreOffice's export filter ("writer_pdf_Export")
    std::string path;    // save: the absolute path to write
    std::string report;  // UTF-8, CR LF line ends
};

std::string encode(const Request& request);

// Reads one request through `read` (which fills the given buffer with exactly that many bytes
// or says false at the end of the input). False at the end of the input or on a header that is
// not a request.
bool decode(const std::function<bool(std::string& line)>& readLine,
            const std::function<bool(std::size_t count, std::string& into)>& readExactly, Request& request);

struct Answer {
    enum class Kind { Started, Connected, Done, Fault, Other };
    Kind kind = Kind::Other;
    pid_t started = 0;  // Started
    int number = 0;     // Fault
    std::string what;   // Fault
};

std::string startedLine(pid_t pid);
inline constexpr std::string_view kConnected = "connected";
inline constexpr std::string_view kDone = "done";
// The fault on one line: line breaks in `what` become blanks.
std::string faultLine(int number, std::string what);

Answer parseAnswer(std::string_view line);

}  // namespace wallcalc::helper_protocol
